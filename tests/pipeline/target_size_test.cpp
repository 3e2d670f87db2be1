#include "pipeline/target_size.h"

#include <gtest/gtest.h>

#include <climits>

#include "settings/setting_codes.h"

namespace lumivane::testing {
namespace {

TEST(ComputeTargetSize, PixelsArePercentOfTheCurrentSizeOrTheValueItself) {
  const struct {
    std::int32_t value;
    SizeUnit unit;
    std::int32_t current, expected;
  } cases[] = {
      {800, SizeUnit::kPixels, 4000, 800},
      {-5, SizeUnit::kPixels, 4000, -5},
      {0, SizeUnit::kPixels, 4000, 0},
      {33, SizeUnit::kPercent, 1000, 330},
      {50, SizeUnit::kPercent, 1000, 500},
      {50, SizeUnit::kPercent, 101, 51},  // 50.5: halves away from zero
      {50, SizeUnit::kPercent, 99, 50},   // 49.5
      {1, SizeUnit::kPercent, 40, 0},     // 0.4
      {150, SizeUnit::kPercent, 3, 5},    // 4.5
      {-50, SizeUnit::kPercent, 101, -51},
      {200, SizeUnit::kPercent, 0, 0},
      {1000000000, SizeUnit::kPercent, 4000, INT32_MAX},  // beyond 32 bits
      {-1000000000, SizeUnit::kPercent, 4000, INT32_MIN},
      {INT32_MAX, SizeUnit::kPercent, INT32_MAX, INT32_MAX},
      {800, static_cast<SizeUnit>(2), 4000, 0},  // unknown unit, as a configuration file may hold
      {800, static_cast<SizeUnit>(-1), 4000, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ComputeTargetSize(c.value, c.unit, c.current), c.expected)
        << c.value << " in unit " << CodeOf(c.unit) << " of " << c.current;
  }
}

}  // namespace
}  // namespace lumivane::testing
