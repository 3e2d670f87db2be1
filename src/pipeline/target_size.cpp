#include "pipeline/target_size.h"

#include <cmath>
#include <limits>

#include "pipeline/transform_codes.h"

namespace lumivane {

std::int32_t ComputeTargetSize(std::int32_t value, std::int32_t unit, std::int32_t currentSize) {
  if (unit == kSizeUnitPixels) return value;
  if (unit != kSizeUnitPercent) return 0;
  const double size = std::round(value / 100.0 * currentSize);
  constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
  constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
  if (size >= kMax) return kMax;
  if (size <= kMin) return kMin;
  return static_cast<std::int32_t>(size);
}

}  // namespace lumivane
