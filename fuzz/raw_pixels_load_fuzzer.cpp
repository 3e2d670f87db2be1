// Loading a small file as headerless pixels with small fuzzed geometry; the bitmap must match the plan and the data.
#include <FreeImage.h>
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz_support.h"
#include "pipeline/raw_pixels.h"

using namespace lumivane;
using lumivane::fuzzing::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const int mode = input.ConsumeIntegralInRange(0, 3);
  RawPixelGeometry geometry;
  geometry.headerSize = input.ConsumeIntegralInRange(-1, 64);
  geometry.width = input.ConsumeIntegralInRange(-1, 96);
  geometry.height = input.ConsumeIntegralInRange(-1, 96);
  const std::string bytes = input.ConsumeRemainingBytesAsString();
  const std::string path = fuzzing::WriteScratchFile("pixels.raw", bytes);

  const auto plan = PlanRawPixelData(static_cast<std::int64_t>(bytes.size()), mode, geometry, UINT64_MAX);
  FIBITMAP* bitmap = LoadRawPixelData(path, mode, geometry);
  Require((bitmap != nullptr) == plan.has_value(), "a file loads exactly when its plan is sound");
  if (bitmap == nullptr) return 0;

  Require(FreeImage_GetWidth(bitmap) == static_cast<unsigned>(plan->width), "planned width");
  Require(FreeImage_GetHeight(bitmap) == static_cast<unsigned>(plan->height), "planned height");
  Require(FreeImage_GetBPP(bitmap) == plan->bitsPerPixel, "planned depth");
  // The data's first row is the image's top row (FreeImage counts scan lines from the bottom); bytes past the
  // file's end are black.
  const BYTE* top = FreeImage_GetScanLine(bitmap, plan->height - 1);
  const std::size_t header = static_cast<std::size_t>(geometry.headerSize);
  const std::size_t rowBytes = static_cast<std::size_t>(plan->rowBytes);
  const std::size_t present = std::min(rowBytes, bytes.size() - header);
  Require(std::memcmp(top, bytes.data() + header, present) == 0, "the top row holds the first data");
  Require(std::all_of(top + present, top + rowBytes, [](BYTE b) { return b == 0; }), "missing data is black");
  FreeImage_Unload(bitmap);
  return 0;
}
