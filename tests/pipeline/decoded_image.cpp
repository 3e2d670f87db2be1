#include "pipeline/decoded_image.h"

#include <algorithm>
#include <cstddef>

namespace lumivane::testing {

std::array<int, 3> DecodedImage::MeanAround(double fx, double fy) const {
  const int halfWidth = std::max(1, static_cast<int>(width / 20));
  const int halfHeight = std::max(1, static_cast<int>(height / 20));
  const int cx = static_cast<int>(fx * width);
  const int cy = static_cast<int>(fy * height);
  std::array<long, 3> sum{};
  long count = 0;
  for (int y = cy - halfHeight; y < cy + halfHeight; ++y) {
    for (int x = cx - halfWidth; x < cx + halfWidth; ++x) {
      if (x < 0 || y < 0 || x >= static_cast<int>(width) || y >= static_cast<int>(height)) continue;
      for (int c = 0; c < 3; ++c) sum[c] += rgb[(static_cast<std::size_t>(y) * width + x) * 3 + c];
      ++count;
    }
  }
  std::array<int, 3> mean{};
  for (int c = 0; c < 3; ++c) mean[c] = count == 0 ? -1 : static_cast<int>(sum[c] / count);
  return mean;
}

unsigned char ScaledToByte(double value) {
  return static_cast<unsigned char>(std::clamp(value * 255.0, 0.0, 255.0) + 0.5);
}

}  // namespace lumivane::testing
