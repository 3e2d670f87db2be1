// resize_bench <camera.dng> [width] [runs]: times the resize step against the bare FreeImage_Rescale call it makes,
// on the full-size 24-bit decode of the file, and prints both medians and their ratio.
#include <FreeImage.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "pipeline/edit_steps.h"

namespace {

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 4) {
    std::fprintf(stderr, "usage: resize_bench <camera.dng> [width] [runs]\n");
    return 2;
  }
  const int width = argc > 2 ? std::atoi(argv[2]) : 1600;
  const int runs = argc > 3 ? std::atoi(argv[3]) : 5;
  if (width <= 0 || runs <= 0) return 2;

  FIBITMAP* source = FreeImage_Load(FIF_RAW, argv[1], RAW_DISPLAY);
  if (source == nullptr) {
    std::fprintf(stderr, "resize_bench: cannot decode %s\n", argv[1]);
    return 1;
  }
  const int sourceWidth = static_cast<int>(FreeImage_GetWidth(source));
  const int sourceHeight = static_cast<int>(FreeImage_GetHeight(source));

  lumivane::Settings settings;
  settings.transform.doImageResize = 1;
  settings.transform.imageWidth = width;
  settings.transform.imageHeight = width;
  settings.transform.keepAspectRatio = 1;
  settings.transform.imageResizeAlgorithm = lumivane::ResizeAlgorithm::kLanczos;
  // The height the step gives a landscape picture, for the bare call.
  const int height = static_cast<int>(
      std::round(static_cast<float>(width) / (static_cast<float>(sourceWidth) / static_cast<float>(sourceHeight))));

  std::vector<double> step;
  std::vector<double> bare;
  for (int run = 0; run < runs; ++run) {
    FIBITMAP* copy = FreeImage_Clone(source);
    auto start = Clock::now();
    FIBITMAP* resized = lumivane::ResizeImage(copy, sourceWidth, sourceHeight, settings);  // unloads copy
    step.push_back(MillisecondsSince(start));
    FreeImage_Unload(resized);

    copy = FreeImage_Clone(source);
    start = Clock::now();
    resized = FreeImage_Rescale(copy, width, height, FILTER_LANCZOS3);
    bare.push_back(MillisecondsSince(start));
    FreeImage_Unload(resized);
    FreeImage_Unload(copy);
  }
  FreeImage_Unload(source);

  const double stepMs = Median(step);
  const double bareMs = Median(bare);
  std::printf("%d x %d -> %d x %d, Lanczos, %d runs\n", sourceWidth, sourceHeight, width, height, runs);
  std::printf("ResizeImage      %9.1f ms (median)\n", stepMs);
  std::printf("FreeImage_Rescale %8.1f ms (median)\n", bareMs);
  std::printf("ratio %.3f\n", stepMs / bareMs);
  return 0;
}
