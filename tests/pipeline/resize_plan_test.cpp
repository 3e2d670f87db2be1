#include "pipeline/resize_plan.h"

#include <gtest/gtest.h>

#include <climits>

namespace lumivane::testing {
namespace {

constexpr std::uint64_t kMiB = 1024 * 1024;

TEST(RescaleFits, RefusesWhatTheLibraryCannotAddressOrMemoryCannotHold) {
  const struct {
    const char* name;
    ImageSize from, to;
    unsigned bpp;
    std::uint64_t memoryLimit;
    bool fits;
  } cases[] = {
      {"24 MP down to 1600 wide", {6000, 4000}, {1600, 1067}, 24, 512 * kMiB, true},
      // The larger pass between the sizes (6000 x 1067 x 3) plus the result (1600 x 1067 x 3).
      {"just enough memory", {6000, 4000}, {1600, 1067}, 24, 19206000 + 5121600, true},
      {"one byte short", {6000, 4000}, {1600, 1067}, 24, 19206000 + 5121600 - 1, false},
      {"enlarging past the memory", {400, 300}, {40000, 30000}, 24, 512 * kMiB, false},
      {"48-bit counts six bytes a pixel", {100, 100}, {1000, 1000}, 48, 6600000, true},
      {"48-bit one byte short", {100, 100}, {1000, 1000}, 48, 6599999, false},
      {"palettes count as 24 bits", {100, 100}, {1000, 1000}, 8, 3300000, true},
      {"palettes one byte short", {100, 100}, {1000, 1000}, 1, 3299999, false},
      {"row longer than 32 bits address", {40, 30}, {100000000, 1}, 24, UINT64_MAX, false},
      {"bitmap over two gigabytes", {40, 30}, {40000, 20000}, 24, UINT64_MAX, false},
      {"largest sides", {40, 30}, {INT32_MAX, INT32_MAX}, 24, UINT64_MAX, false},
      {"empty target", {40, 30}, {0, 30}, 24, UINT64_MAX, false},
      {"negative source", {-40, 30}, {20, 15}, 24, UINT64_MAX, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RescaleFits(c.from, c.to, c.bpp, c.memoryLimit), c.fits) << c.name;
  }
}

}  // namespace
}  // namespace lumivane::testing
