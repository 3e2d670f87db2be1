#pragma once
// The conversion of one input file into one output file: decoding, the fixed chain of edits, the output depth,
// the output name and the encoder.
#include "batch/job.h"
#include "batch/protected_inputs.h"
#include "settings/settings.h"

namespace lumivane {

class DrawingFont;

// Converts file.inputFile in this order: decode; keep its metadata; rotate; resize; tone-map 48-bit data; limit
// icons to 128 x 128; flip; adjust colours; greyscale; threshold; dither; frame; store the working size; watermark;
// convert to the output depth; name the output and its temporary file; encode. Fills file's source bit depth,
// working size, frame number, output bit depth (also when automatic), output and temporary paths as it gets to
// them. True when the output file was written; otherwise file.failure says why, and nothing was written. An output
// path that names one of `inputs` fails the file before anything is written, so no input is ever replaced.
//
// watermarkFont is the batch's font for a text watermark (nullptr when there is none). Every bitmap made here is
// unloaded before the call returns, on every path.
bool ConvertImageFile(const Settings& settings, const JobRecord& job, const ProtectedInputs& inputs,
                      FileConversion& file, const DrawingFont* watermarkFont);

}  // namespace lumivane
