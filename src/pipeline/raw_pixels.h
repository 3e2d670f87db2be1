#pragma once
// Headerless pixel data: a file's bytes after a header of known size, taken row by row, top row first.
#include <FreeImage.h>

#include <cstdint>
#include <optional>
#include <string>

namespace lumivane {

// Modes of LoadRawPixelData, equal to the `Input/RAW Load As` codes that select them.
inline constexpr int kRawPixels8 = 1;   // 8 bits per pixel
inline constexpr int kRawPixels16 = 2;  // 16 bits per pixel, 5-6-5

// `Input/RAW Header Size`, `Input/RAW Image Width`, `Input/RAW Image Height`. A width or height of 0 makes the
// image square, sized from the data.
struct RawPixelGeometry {
  std::int32_t headerSize = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
};

// What a file of a given size turns into under a mode and a geometry.
struct RawPixelLayout {
  std::int32_t width = 0;
  std::int32_t height = 0;
  unsigned bitsPerPixel = 0;
  std::int32_t rowBytes = 0;       // width x bytes per pixel, no padding
  std::uint64_t imageBytes = 0;    // rowBytes x height; data beyond the file reads as 0 (black)
  std::uint64_t bytesToRead = 0;   // the part of the data that lands in the image
};

// The layout, or nullopt when the mode is unknown, a geometry value is negative, the header is not smaller than
// the file, a size does not fit what the bitmap library can address, or the pixels (held twice while the bitmap
// is made) need more than memoryLimit bytes.
std::optional<RawPixelLayout> PlanRawPixelData(std::int64_t fileSize, int mode, const RawPixelGeometry& geometry,
                                               std::uint64_t memoryLimit);

// Reads the file as headerless pixels. The caller owns the returned bitmap; nullptr when the file cannot be read
// or PlanRawPixelData refuses it (with the memory this process can still get as the limit).
FIBITMAP* LoadRawPixelData(const std::string& path, int mode, const RawPixelGeometry& geometry);

}  // namespace lumivane
