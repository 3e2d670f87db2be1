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
// convert to the output depth; encode into memory; name the output and its temporary file; write. Fills file's source bit depth,
// working size, frame number, output bit depth (also when automatic), output and temporary paths as it gets to
// them. True when the output file was written; otherwise file.failure says why, and nothing was written. An output
// path that names one of `inputs` fails the file before anything is written, so no input is ever replaced.
// In-process: ConvertImageContent, then CommitImageFile.
//
// watermarkFont is the batch's font for a text watermark (nullptr when there is none). Every bitmap made here is
// unloaded before the call returns, on every path.
bool ConvertImageFile(const Settings& settings, const JobRecord& job, const ProtectedInputs& inputs,
                      FileConversion& file, const DrawingFont* watermarkFont);

// The part of ConvertImageFile that runs library code on the file's content: decoding, the edits, the output depth
// and the encoding into memory. Fills file's source bit depth, working size, frame number and output bit depth,
// and on failure its reason; true with the output file's bytes in `encoded`. Names nothing and writes nothing, and
// changes nothing outside file and encoded, so that it can run in a process of its own.
bool ConvertImageContent(const Settings& settings, const JobRecord& job, FileConversion& file,
                         const DrawingFont* watermarkFont, std::vector<unsigned char>& encoded);

// The rest of ConvertImageFile, after a successful ConvertImageContent: names the output (from the job's counters
// and the depth and size ConvertImageContent left in file) and its temporary file, refuses a name that is one of
// `inputs`, and writes `encoded` through the temporary file. True when the output file was written; otherwise
// file.failure says why, and an older output of the same name is as it was.
bool CommitImageFile(const Settings& settings, const JobRecord& job, const ProtectedInputs& inputs,
                     FileConversion& file, std::span<const unsigned char> encoded);

}  // namespace lumivane
