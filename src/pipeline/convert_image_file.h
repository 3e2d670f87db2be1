#pragma once
// The library part of one file's conversion: decoding, the fixed chain of edits, the output depth and the encoding
// into memory. It names nothing and writes nothing, so that it can run in a process of its own.
#include "settings/conversion_records.h"

namespace lumivane {

class DrawingFont;

// Converts file.inputFile in this order: decode; rotate; resize; tone-map 48-bit data; limit to
// the format's largest side; flip; adjust colours; greyscale; threshold; dither; frame; store the working size;
// watermark; convert to the output depth; the output format's own step (format_step.h); encode into memory; write the
// photo's metadata into the encoded bytes (photo_metadata.h). Returns the output file's bytes with the facts its name
// and the report show, or the reason it failed with the facts reached until then (the output depth is known from the
// start when it is configured). watermarkFont is the batch's font for a text watermark (nullptr when there is none).
// Every bitmap made here is unloaded before the call returns, on every path; a file that runs out of memory fails
// with kOutOfMemory, never with an exception.
ConvertedFile ConvertImageContent(const BatchPlan& plan, const FileToConvert& file, const DrawingFont* watermarkFont);

}  // namespace lumivane
