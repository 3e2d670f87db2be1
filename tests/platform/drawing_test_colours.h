#pragma once
// Comparing drawing-layer colours in tests.
#include <algorithm>
#include <cstdlib>

#include "platform/drawing_colour.h"

namespace lumivane::testing {

// The largest difference of any channel, alpha included.
inline int ChannelDistance(Rgba a, Rgba b) {
  int largest = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    largest =
        std::max(largest, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
  }
  return largest;
}

}  // namespace lumivane::testing
