#include <gtest/gtest.h>

#include <string>

#include "settings/colour.h"

namespace lumivane::testing {
namespace {

struct ColourCase {
  std::string text;
  int r, g, b;
};

TEST(ParseColour, ReadsSixHexDigitsByThePairRules) {
  const ColourCase cases[] = {
      {"FF8000", 255, 128, 0},
      {"ff8000", 255, 128, 0},
      {"0a0B0c", 10, 11, 12},
      {"FFFFFF", 255, 255, 255},
      {"000000", 0, 0, 0},
      // A pair stops at its first non-hex character: none before it gives 0, one digit gives that digit.
      {"GG8000", 0, 128, 0},
      {"F.8000", 15, 128, 0},
      {"FFx0-1", 255, 0, 0},
      {"8 FF 1", 8, 255, 0},
      {"-1FF00", 0, 255, 0},
      // Not six characters long: black.
      {"", 0, 0, 0},
      {"FFF", 0, 0, 0},
      {"FF80001", 0, 0, 0},
      {" FF8000", 0, 0, 0},
      // Characters, not bytes, are counted: "é" is one character of two bytes.
      {"\u00E9FFFF", 0, 0, 0},
      {"\u00E9\u00E9\u00E9", 0, 0, 0},
      {"\u00E9FFFFF", 0, 255, 255},
      // A character outside the Basic Multilingual Plane counts as two UTF-16 units.
      {"\U0001F600FFFF", 0, 255, 255},
      // Bytes that are not UTF-8 count one each.
      {"\xFF" "FFFFF", 0, 255, 255},
  };
  for (const ColourCase& c : cases) {
    SCOPED_TRACE("text: " + c.text);
    const RgbColour colour = ParseColour(c.text);
    EXPECT_EQ(colour.r, c.r);
    EXPECT_EQ(colour.g, c.g);
    EXPECT_EQ(colour.b, c.b);
  }
}

}  // namespace
}  // namespace lumivane::testing
