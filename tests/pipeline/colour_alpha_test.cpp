#include "pipeline/colour_alpha.h"

#include <gtest/gtest.h>

namespace lumivane::testing {
namespace {

TEST(ParseColourAlpha, ColourFromTheTextAlphaAsGiven) {
  const struct {
    const char* text;
    int alpha;
    Rgba expected;
  } cases[] = {
      {"FF8000", 255, MakeRgba(255, 128, 0, 255)},
      {"0a0B0c", 1, MakeRgba(10, 11, 12, 1)},
      {"123456", 0, MakeRgba(0x12, 0x34, 0x56, 0)},
      {"FFFFF", 255, MakeRgba(0, 0, 0, 255)},  // not six characters: black
      {"", 128, MakeRgba(0, 0, 0, 128)},
      {"FFFFFF", 300, MakeRgba(255, 255, 255, 255)},
      {"FFFFFF", -5, MakeRgba(255, 255, 255, 0)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseColourAlpha(c.text, c.alpha), c.expected) << c.text << " " << c.alpha;
  }
}

}  // namespace
}  // namespace lumivane::testing
