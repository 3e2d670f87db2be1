#include "pipeline/target_size.h"

#include <gtest/gtest.h>

#include <climits>

#include "pipeline/transform_codes.h"

namespace lumivane::testing {
namespace {

TEST(ComputeTargetSize, PixelsArePercentOfTheCurrentSizeOrTheValueItself) {
  const struct {
    std::int32_t value, unit, current, expected;
  } cases[] = {
      {800, kSizeUnitPixels, 4000, 800},
      {-5, kSizeUnitPixels, 4000, -5},
      {0, kSizeUnitPixels, 4000, 0},
      {33, kSizeUnitPercent, 1000, 330},
      {50, kSizeUnitPercent, 1000, 500},
      {50, kSizeUnitPercent, 101, 51},  // 50.5: halves away from zero
      {50, kSizeUnitPercent, 99, 50},   // 49.5
      {1, kSizeUnitPercent, 40, 0},     // 0.4
      {150, kSizeUnitPercent, 3, 5},    // 4.5
      {-50, kSizeUnitPercent, 101, -51},
      {200, kSizeUnitPercent, 0, 0},
      {1000000000, kSizeUnitPercent, 4000, INT32_MAX},  // beyond 32 bits
      {-1000000000, kSizeUnitPercent, 4000, INT32_MIN},
      {INT32_MAX, kSizeUnitPercent, INT32_MAX, INT32_MAX},
      {800, 2, 4000, 0},  // unknown unit
      {800, -1, 4000, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ComputeTargetSize(c.value, c.unit, c.current), c.expected)
        << c.value << " in unit " << c.unit << " of " << c.current;
  }
}

}  // namespace
}  // namespace lumivane::testing
