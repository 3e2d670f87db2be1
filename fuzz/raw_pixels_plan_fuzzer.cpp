// Planning headerless pixel data for any file size, mode, geometry and memory limit: every size in range.
#include <fuzzer/FuzzedDataProvider.h>

#include <climits>
#include <cstdint>

#include "fuzz_support.h"
#include "pipeline/raw_pixels.h"

using namespace lumivane;
using lumivane::fuzzing::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::int64_t fileSize = input.ConsumeIntegral<std::int64_t>();
  const int mode = input.ConsumeIntegral<int>();
  RawPixelGeometry geometry;
  geometry.headerSize = input.ConsumeIntegral<std::int32_t>();
  geometry.width = input.ConsumeIntegral<std::int32_t>();
  geometry.height = input.ConsumeIntegral<std::int32_t>();
  const std::uint64_t memoryLimit = input.ConsumeIntegral<std::uint64_t>();

  const auto layout = PlanRawPixelData(fileSize, mode, geometry, memoryLimit);
  if (!layout) return 0;
  Require(mode == kRawPixels8 || mode == kRawPixels16, "only known modes");
  Require(geometry.headerSize >= 0 && geometry.width >= 0 && geometry.height >= 0, "no negative geometry");
  Require(fileSize > geometry.headerSize, "the header is smaller than the file");
  Require(layout->width > 0 && layout->height > 0, "an image has pixels");
  if (geometry.width > 0 && geometry.height > 0) {
    Require(layout->width == geometry.width && layout->height == geometry.height, "a set size is kept");
  } else {
    Require(layout->width == layout->height, "an unset size makes a square");
  }
  Require(layout->bitsPerPixel == (mode == kRawPixels8 ? 8u : 16u), "the mode's depth");
  const std::uint64_t rowBytes = static_cast<std::uint64_t>(layout->width) * (layout->bitsPerPixel / 8);
  Require(layout->rowBytes > 0 && static_cast<std::uint64_t>(layout->rowBytes) == rowBytes, "rows are unpadded");
  Require(layout->imageBytes == rowBytes * static_cast<std::uint64_t>(layout->height), "rows times height");
  Require(layout->imageBytes <= static_cast<std::uint64_t>(INT32_MAX), "the bitmap library can address it");
  Require(layout->imageBytes <= memoryLimit / 2, "data and bitmap fit the memory limit");
  Require(layout->bytesToRead <= layout->imageBytes, "only bytes that land in the image are read");
  Require(layout->bytesToRead <= static_cast<std::uint64_t>(fileSize - geometry.headerSize), "reads stay in the file");
  return 0;
}
