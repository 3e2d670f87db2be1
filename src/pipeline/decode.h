#pragma once
// Decoding one input file into a bitmap: camera RAW, JPEG data under a RAW name, or headerless pixel data.
#include <FreeImage.h>

#include <cstdint>
#include <string>
#include <vector>

#include "pipeline/raw_pixels.h"
#include "settings/setting_codes.h"

namespace lumivane {

struct DecodeOptions {
  RawLoadAs rawLoadAs = RawLoadAs::kAuto;  // `Input/RAW Load As`
  // `Input/RAW Header Size`, `Input/RAW Image Width`, `Input/RAW Image Height`.
  RawPixelGeometry geometry;
};

enum class DecodeMethod {
  kRawPixels8,   // LoadRawPixelData, 8 bits per pixel
  kRawPixels16,  // LoadRawPixelData, 16 bits per pixel
  kCameraRaw,    // FreeImage's RAW reader with the load flags of the code
  kJpeg,         // FreeImage's JPEG reader, for JPEG data under a RAW name
};

// FreeImage's RAW load flags for an `Input/RAW Load As` code (RAW_DEFAULT for codes that name no RAW mode).
int RawLoadFlags(RawLoadAs rawLoadAs);

// The methods tried, in order; the first that yields a bitmap wins. Headerless 16-bit pixels come last only when
// both the width and the height are set: without them an unreadable file would turn into noise reported as a picture.
std::vector<DecodeMethod> DecodeOrder(const DecodeOptions& options);

// One method on its own. The caller owns the returned bitmap; nullptr when the method cannot read the file.
FIBITMAP* DecodeWith(DecodeMethod method, const std::string& path, const DecodeOptions& options);

// Decodes the file with the methods of DecodeOrder. The caller owns the returned bitmap; nullptr when none reads it.
// `used`, when given, names the method that read it.
FIBITMAP* DecodeInputImage(const std::string& path, const DecodeOptions& options, DecodeMethod* used = nullptr);

// Whether the decoder turned the image upright by the input's orientation: LibRaw's full decodes and JPEG previews
// and the JPEG reader do; a preview stored as a plain bitmap (LibRaw attaches no EXIF to it) and headerless pixels
// are as the camera stored them.
bool DecodedUpright(DecodeMethod used, RawLoadAs rawLoadAs, FIBITMAP* decoded);

}  // namespace lumivane
