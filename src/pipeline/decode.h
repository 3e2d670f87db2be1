#pragma once
// Decoding one input file into a bitmap: camera RAW, JPEG data under a RAW name, or headerless pixel data.
#include <FreeImage.h>

#include <cstdint>
#include <string>
#include <vector>

#include "pipeline/raw_pixels.h"

namespace lumivane {

// Codes of `Input/RAW Load As`.
inline constexpr std::int32_t kRawLoadAsAuto = 0;         // the embedded preview, else 24-bit RGB
inline constexpr std::int32_t kRawLoadAs8 = 1;            // headerless 8-bit pixels first
inline constexpr std::int32_t kRawLoadAs16 = 2;           // headerless 16-bit (5-6-5) pixels first
inline constexpr std::int32_t kRawLoadAs24 = 3;           // 24-bit RGB
inline constexpr std::int32_t kRawLoadAs48HalfSize = 4;   // half-size 48-bit RGB
inline constexpr std::int32_t kRawLoadAs48 = 5;           // linear 48-bit RGB

struct DecodeOptions {
  std::int32_t rawLoadAs = kRawLoadAsAuto;  // `Input/RAW Load As`
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
int RawLoadFlags(std::int32_t rawLoadAs);

// The methods tried, in order; the first that yields a bitmap wins. Headerless 16-bit pixels come last only when
// both the width and the height are set: without them an unreadable file would turn into noise reported as a picture.
std::vector<DecodeMethod> DecodeOrder(const DecodeOptions& options);

// One method on its own. The caller owns the returned bitmap; nullptr when the method cannot read the file.
FIBITMAP* DecodeWith(DecodeMethod method, const std::string& path, const DecodeOptions& options);

// Decodes the file with the methods of DecodeOrder. The caller owns the returned bitmap; nullptr when none reads it.
FIBITMAP* DecodeInputImage(const std::string& path, const DecodeOptions& options);

}  // namespace lumivane
