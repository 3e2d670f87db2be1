#pragma once
// Decoding one input file into a bitmap: camera RAW, JPEG data under a RAW name, or headerless pixel data.
#include <FreeImage.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "pipeline/raw_pixels.h"
#include "platform/owned_bitmap.h"
#include "settings/settings.h"

namespace lumivane {

struct DecodeOptions {
  RawLoadAs rawLoadAs = RawLoadAs::kAuto;  // `Input/RAW Load As`
  // `Input/RAW Header Size`, `Input/RAW Image Width`, `Input/RAW Image Height`.
  RawPixelGeometry geometry;
  // The rotation and resize settings: FIT picks its decode by the size they will ask for.
  Settings::Transform transform;
};

// What a decode gave: the bitmap, or why there is none.
struct DecodeResult {
  OwnedBitmap image;            // none when no method read the file
  bool rawDataCut = false;      // the RAW data the file declares is cut short: no method may stand in for it
  std::string_view decodeUsed;  // FIT: which decode it took ("" for the other codes)
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

// One method on its own.
DecodeResult DecodeWith(DecodeMethod method, const std::string& path, const DecodeOptions& options);

// Decodes the file with the methods of DecodeOrder, stopping at the first image, or at a method that finds the RAW
// data cut short. `used`, when given, names the method that read the image.
DecodeResult DecodeInputImage(const std::string& path, const DecodeOptions& options, DecodeMethod* used = nullptr);

// Whether the decoder turned the image upright by the input's orientation: LibRaw's full decodes and JPEG previews
// and the JPEG reader do; a preview stored as a plain bitmap (LibRaw attaches no EXIF to it) and headerless pixels
// are as the camera stored them.
bool DecodedUpright(DecodeMethod used, RawLoadAs rawLoadAs, FIBITMAP* decoded);

}  // namespace lumivane
