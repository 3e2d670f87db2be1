// make_detailed_dng <camera-file> <output.dng> [width height]: a large DNG (6000 x 4000 unless given) that holds a
// real picture, for benchmarks whose result depends on detail (a resize's quality, the half-size decode's): the
// camera file is decoded at 24 bits, its centre cropped to the output's aspect ratio and enlarged (Catmull-Rom),
// taken back to linear light and laid out again as an RGGB mosaic by our DNG writer.
#include <FreeImage.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string_view>

#include "dng/dng_writer.h"

namespace {

using lumivane::testing::kDngBlackLevel;
using lumivane::testing::kDngWhiteLevel;

struct Unloader {
  void operator()(FIBITMAP* bitmap) const { FreeImage_Unload(bitmap); }
};
using Bitmap = std::unique_ptr<FIBITMAP, Unloader>;

bool ParseSide(std::string_view text, std::int64_t& side) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), side);
  return error == std::errc() && end == text.data() + text.size() && side > 1;
}

// The picture's centre at the aspect ratio of width x height, scaled to that size.
Bitmap Enlarged(FIBITMAP* picture, int width, int height) {
  const int sourceWidth = static_cast<int>(FreeImage_GetWidth(picture));
  const int sourceHeight = static_cast<int>(FreeImage_GetHeight(picture));
  int cropWidth = sourceWidth;
  int cropHeight = static_cast<int>(std::lround(static_cast<double>(sourceWidth) * height / width));
  if (cropHeight > sourceHeight) {
    cropHeight = sourceHeight;
    cropWidth = static_cast<int>(std::lround(static_cast<double>(sourceHeight) * width / height));
  }
  const int left = (sourceWidth - cropWidth) / 2, top = (sourceHeight - cropHeight) / 2;
  const Bitmap crop(FreeImage_Copy(picture, left, top, left + cropWidth, top + cropHeight));
  return Bitmap(crop ? FreeImage_Rescale(crop.get(), width, height, FILTER_CATMULLROM) : nullptr);
}

// Sensor values of the 8-bit display values: the decoder's BT.709 curve undone, spread from black to white.
std::array<std::uint16_t, 256> SensorLevels() {
  std::array<std::uint16_t, 256> levels{};
  for (int value = 0; value < 256; ++value) {
    const double v = value / 255.0;
    const double linear = v < 0.081 ? v / 4.5 : std::pow((v + 0.099) / 1.099, 1.0 / 0.45);
    levels[value] =
        static_cast<std::uint16_t>(std::lround(kDngBlackLevel + linear * (kDngWhiteLevel - kDngBlackLevel)));
  }
  return levels;
}

int Usage() {
  std::fprintf(stderr, "usage: make_detailed_dng <camera-file> <output.dng> [width height]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && argc != 5) return Usage();
  lumivane::testing::DngContent content;
  content.width = 6000;
  content.height = 4000;
  if (argc == 5 && (!ParseSide(argv[3], content.width) || !ParseSide(argv[4], content.height))) return Usage();
  const Bitmap decoded(FreeImage_Load(FIF_RAW, argv[1], RAW_DISPLAY));
  const Bitmap picture =
      decoded ? Enlarged(decoded.get(), static_cast<int>(content.width), static_cast<int>(content.height)) : nullptr;
  if (!picture || FreeImage_GetBPP(picture.get()) != 24) {
    std::fprintf(stderr, "make_detailed_dng: cannot decode and enlarge %s\n", argv[1]);
    return 1;
  }
  const std::array<std::uint16_t, 256> levels = SensorLevels();
  const auto height = static_cast<int>(content.height);
  content.sensorValue = [&](std::int64_t x, std::int64_t y) {
    // Bitmap rows run bottom-up; RGGB: red at even x and y, blue at odd x and y, green between.
    const BYTE* pixel = FreeImage_GetScanLine(picture.get(), height - 1 - static_cast<int>(y)) + 3 * x;
    const int channel = (x % 2 == 0 && y % 2 == 0)   ? FI_RGBA_RED
                        : (x % 2 == 1 && y % 2 == 1) ? FI_RGBA_BLUE
                                                     : FI_RGBA_GREEN;
    return levels[pixel[channel]];
  };
  if (!lumivane::testing::WriteDngFile(argv[2], content)) {
    std::fprintf(stderr, "make_detailed_dng: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
