#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>

#include "settings/preferences_values.h"
#include "support/temp_dir.h"

namespace lumivane::testing {
namespace {

TEST(ParsePreferencesInteger, FollowsTheAtoiRuleWithThirtyTwoBitWrap) {
  struct Case {
    std::string text;
    std::int32_t expected;
  };
  const Case cases[] = {
      {"80", 80},
      {"80abc", 80},
      {"abc", 0},
      {"", 0},
      {"  -12", -12},
      {"\t+7", 7},
      {"\n\v\f\r 3", 3},
      {"--5", 0},
      {"+-5", 0},
      {"- 5", 0},
      {"12 34", 12},
      {"0x10", 0},
      {"$FF", 0},
      {"1.9", 1},
      {"007", 7},
      {"2147483647", 2147483647},
      {"2147483648", INT32_MIN},
      {"-2147483648", INT32_MIN},
      {"-2147483649", 2147483647},
      {"4294967296", 0},
      {"4294967297", 1},
      // 99999999999999999999 mod 2^64 = 7766279631452241919, whose low 32 bits are 1661992959.
      {"99999999999999999999", 1661992959},
      {"-99999999999999999999", -1661992959},
      {std::string("12\0" "34", 5), 12},
      {std::string(100000, '9'), -1},  // 10^n - 1 for n >= 32 ends in 32 one-bits
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("text: " + c.text.substr(0, 40));
    EXPECT_EQ(ParsePreferencesInteger(c.text), c.expected);
  }
}

TEST(ParsePreferencesFloat, FollowsTheAtofRuleWithNamedSpecialValues) {
  const float inf = std::numeric_limits<float>::infinity();
  struct Case {
    std::string text;
    float expected;
  };
  const Case cases[] = {
      {"1.5", 1.5f},
      {"2.2", 2.2f},
      {"1,5", 1.0f},
      {"abc", 0.0f},
      {"", 0.0f},
      {"  -0.25", -0.25f},
      {".5", 0.5f},
      {"1e3xyz", 1000.0f},
      {"7.", 7.0f},
      {"+Infinity", inf},
      {"+INFINITY", inf},
      {"-Infinity", -inf},
      {"-infinity", -inf},
      {"  +Infinity\t", inf},
      {"1e999", inf},
      {"-1e999", -inf},
      {"1e39", inf},  // beyond float range
      {"1e-999", 0.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("text: " + c.text);
    EXPECT_EQ(ParsePreferencesFloat(c.text), c.expected);
  }
  for (const char* text : {"NaN", "nan", "NAN", " NaN "}) {
    SCOPED_TRACE(text);
    EXPECT_TRUE(std::isnan(ParsePreferencesFloat(text)));
  }
}

// Switches LC_NUMERIC to a locale with a decimal comma: an installed one, or one compiled with localedef into a
// temporary folder. Restores the previous locale at scope end.
class ScopedCommaLocale {
 public:
  ScopedCommaLocale() : previous_(std::setlocale(LC_NUMERIC, nullptr)) {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"}) {
      if (std::setlocale(LC_NUMERIC, name) != nullptr) return;
    }
    const std::string compiled = (dir_.path() / "de_DE.UTF-8").string();
    const std::string command = "localedef -i de_DE -f UTF-8 '" + compiled + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return;
    setenv("LOCPATH", dir_.path().c_str(), 1);
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) unsetenv("LOCPATH");
  }
  ~ScopedCommaLocale() {
    std::setlocale(LC_NUMERIC, previous_.c_str());
    unsetenv("LOCPATH");
  }
  bool active() const { return std::localeconv()->decimal_point[0] == ','; }

 private:
  std::string previous_;
  TempDir dir_;
};

TEST(ParsePreferencesFloat, UsesThePointWhateverTheLocale) {
  const ScopedCommaLocale locale;
  if (!locale.active()) GTEST_SKIP() << "no locale with a decimal comma is available";
  EXPECT_EQ(ParsePreferencesFloat("2.5"), 2.5f);
  EXPECT_EQ(ParsePreferencesFloat("2,5"), 2.0f);
  EXPECT_EQ(FormatPreferencesFloat(2.5f), "2.500000");
}

TEST(FormatPreferencesFloat, WritesSixDecimalsOrTheSpecialNames) {
  struct Case {
    float value;
    const char* expected;
  };
  const Case cases[] = {
      {1.0f, "1.000000"},
      {2.2f, "2.200000"},
      {-0.5f, "-0.500000"},
      {0.0f, "0.000000"},
      {0.0000004f, "0.000000"},
      {9.99f, "9.990000"},
      {1e10f, "10000000000.000000"},
      {std::numeric_limits<float>::infinity(), "+Infinity"},
      {-std::numeric_limits<float>::infinity(), "-Infinity"},
      {std::numeric_limits<float>::quiet_NaN(), "NaN"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(FormatPreferencesFloat(c.value), c.expected);
  }
  EXPECT_EQ(FormatPreferencesFloat(std::numeric_limits<float>::max()).size(), 39u + 7u);
}

}  // namespace
}  // namespace lumivane::testing
