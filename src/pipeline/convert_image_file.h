#pragma once
// The conversion of one input file into one output file: decoding, the fixed chain of edits, the output depth,
// the output name and the encoder.
#include <span>
#include <vector>

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

// The two halves of ConvertImageFile, for converting several files at once.
// RenderImageFile: everything up to the encoded bytes in memory; reads the job and the file only (so several files
// may be rendered at once, each with its own record), writes nothing to disk. The job's counters matter only to a
// watermark text that uses them. False with file.failure set when the file cannot be converted.
bool RenderImageFile(const Settings& settings, const JobRecord& job, FileConversion& file,
                     const DrawingFont* watermarkFont, std::vector<unsigned char>& encoded);
// WriteImageFile: names the output from the job's counters as they are now, refuses to replace an input, and
// writes the bytes through the temporary path. Files must pass here in list order.
bool WriteImageFile(const Settings& settings, const JobRecord& job, const ProtectedInputs& inputs,
                    FileConversion& file, std::span<const unsigned char> encoded);

}  // namespace lumivane
