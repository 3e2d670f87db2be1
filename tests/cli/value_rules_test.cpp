#include "cli/value_rules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace lumivane::testing {
namespace {

struct IntegerCase {
  const char* text;
  std::int32_t expected;
};

TEST(IntegerRule, ReadsDigitsOfTheChosenBaseUpToTheFirstOther) {
  const IntegerCase cases[] = {
      {"80", 80},
      {"12px", 12},
      {"$FF", 255},
      {"$ff", 255},
      {"$1G", 1},
      {"%101", 5},
      {"%1021", 2},
      {"abc", 0},
      {"", 0},
      {"-", 0},
      {"$", 0},
      {"-20", -20},
      {"+20", 20},
      {"  \t 7", 7},
      {"\n7", 0},  // only blanks and tabs are skipped
      {"- 5", 0},  // the digits must follow the sign
      {"-$10", -16},
      {"1 000", 1},
      {"2147483647", 2147483647},
      {"2147483648", -2147483647 - 1},  // low 32 bits of the 64-bit value
      {"4294967295", -1},
      {"4294967296", 0},
      {"-4294967297", -1},
      {"99999999999999999999", 1661992959},  // 0x56BC75E2D630FFFFF wraps in 64 bits; low 32 bits 0x630FFFFF
      {"$FFFFFFFFFFFFFFFFFFFF", -1},
      {"%11111111111111111111111111111111", -1},
      {"007", 7},
  };
  for (const IntegerCase& c : cases) {
    EXPECT_EQ(ParseIntegerValue(c.text), c.expected) << "text: \"" << c.text << "\"";
  }
}

struct RealCase {
  const char* text;
  float expected;
};

TEST(RealRule, ReadsDecimalNumbersWithAPointWhateverTheLocale) {
  const float inf = std::numeric_limits<float>::infinity();
  const RealCase cases[] = {
      {"2.2", 2.2f},      {"1,5", 1.0f},  // a comma is not a separator
      {"1.5", 1.5f},      {"-.5", -0.5f},     {"+3", 3.0f},       {" \t\n4.25x", 4.25f}, {"3.5e2", 350.0f},
      {"1e", 1.0f},       {"7.", 7.0f},       {"", 0.0f},         {".", 0.0f},           {"-", 0.0f},
      {"abc", 0.0f},      {"0x10", 0.0f},  // no hexadecimal numbers
      {"inf", 0.0f},                       // only the whole words below name infinities
      {"infinity", 0.0f}, {"+Infinity", inf}, {"+INFINITY", inf}, {"-Infinity", -inf},   {"-infinity", -inf},
      {"1e999", inf},     {"-1e999", -inf},   {"1e-999", 0.0f},   {"3.5e39", inf},  // beyond float range
  };
  for (const RealCase& c : cases) {
    EXPECT_EQ(ParseRealValue(c.text), c.expected) << "text: \"" << c.text << "\"";
  }
}

TEST(RealRule, NanOnlyForTheWholeWord) {
  EXPECT_TRUE(std::isnan(ParseRealValue("NaN")));
  EXPECT_TRUE(std::isnan(ParseRealValue("nan")));
  EXPECT_EQ(ParseRealValue(" NaN"), 0.0f);
  EXPECT_EQ(ParseRealValue("NaNx"), 0.0f);
  EXPECT_EQ(ParseRealValue("Infinity"), 0.0f);  // the sign is part of the word
}

TEST(TextRules, TrimAndQuoteTrim) {
  EXPECT_EQ(TrimBlanks("  a b  "), "a b");
  EXPECT_EQ(TrimBlanks("\ta\t"), "\ta\t");
  EXPECT_EQ(QuoteTrim("\"\"a \"b\"\"\""), "a \"b");
  EXPECT_EQ(QuoteTrim("\"\""), "");
  EXPECT_EQ(QuoteTrim(" \"a\" "), " \"a\" ");
}

struct JoinCase {
  std::vector<std::string> values;  // the value of each parameter as the scan reads it
  int index;                        // the parameter whose value starts the join
  std::string expected;
  int expectedIndex;
};

TEST(QuoteJoin, ContinuesAnOpenQuoteOverFollowingParameters) {
  const JoinCase cases[] = {
      {{"\"c:/my", "photos\"", "-q"}, 0, "\"c:/my photos\"", 1},
      {{"\"a", "b", "c\"", "d"}, 0, "\"a b c\"", 2},
      {{"\"a", "b"}, 0, "\"a b", 1},  // runs out of parameters
      {{"x", "\"a", "b\""}, 1, "\"a b\"", 2},
      {{"\"a\"", "b\""}, 0, "\"a\"", 0},  // already closed
      {{"a", "b\""}, 0, "a", 0},          // does not begin with a quote
      {{"\"", "b\""}, 0, "\"", 0},        // a lone quote opens and closes
      {{"\"a"}, 0, "\"a", 0},             // last parameter
      {{"\"a", "", "b\""}, 0, "\"a  b\"", 2},
  };
  for (const JoinCase& c : cases) {
    std::string value = c.values[static_cast<std::size_t>(c.index)];
    const int last = QuoteJoin(value, c.index, static_cast<int>(c.values.size()),
                               [&c](int i) { return c.values[static_cast<std::size_t>(i)]; });
    EXPECT_EQ(value, c.expected) << "first value: " << c.values[static_cast<std::size_t>(c.index)];
    EXPECT_EQ(last, c.expectedIndex) << "first value: " << c.values[static_cast<std::size_t>(c.index)];
  }
}

}  // namespace
}  // namespace lumivane::testing
