#include "pipeline/target_size.h"

#include <cmath>
#include <limits>

namespace lumivane {

std::int32_t ComputeTargetSize(std::int32_t value, SizeUnit unit, std::int32_t currentSize) {
  if (unit == SizeUnit::kPixels) return value;
  if (unit != SizeUnit::kPercent) return 0;
  const double size = std::round(value / 100.0 * currentSize);
  constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
  constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
  if (size >= kMax) return kMax;
  if (size <= kMin) return kMin;
  return static_cast<std::int32_t>(size);
}

}  // namespace lumivane
