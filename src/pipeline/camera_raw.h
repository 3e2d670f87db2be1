#pragma once
// The camera RAW method of decoding: FreeImage's RAW reader, after the file's header has been read on its own
// (raw_file_facts.h). The bitmap library turns RAW data missing at the end of some files into black without an
// error, so a file whose declared RAW data is cut short is refused before any of it is decoded, and FIT picks its
// decode by the sizes the header announces.
#include <string>

#include "pipeline/decode.h"

namespace lumivane {

// Decodes with FreeImage's RAW load flags rawLoadFlags (those of options.rawLoadAs), except that
// - a file whose RAW data is cut short yields rawDataCut and no image, unless the flags ask for the embedded preview
//   and that is whole (the preview is all that is read then);
// - a preview that is cut short is not read: the full picture is decoded at 24 bits, as for a file without one;
// - FIT adds RAW_HALFSIZE when the half-size picture gives the output the full-size one would
//   (HalfSizeDecodeFits), and names the decode it took in decodeUsed.
DecodeResult DecodeCameraRaw(const std::string& path, const DecodeOptions& options, int rawLoadFlags);

}  // namespace lumivane
