#include "cli/parameters.h"

#include "cli/value_rules.h"

#include <gtest/gtest.h>

namespace lumivane::testing {
namespace {

struct KeyValueCase {
  std::string parameter;
  std::string key;
  std::string value;
};

TEST(Parameters, KeyAndValueOfOneParameter) {
  const KeyValueCase cases[] = {
      {"-i", "-I", "-i"},
      {"  -v  ", "-V", "-v"},
      {"--Version", "--VERSION", "--Version"},
      {"--help=anything", "--HELP", "anything"},
      {"--input=photos", "--INPUT", "photos"},
      {"--input=", "--INPUT", ""},
      {"--input", "--INPUT", "--input"},
      {"--brightness=-20", "--BRIGHTNESS", "-20"},
      {"--wm-text= a=b ", "--WM-TEXT", " a=b"},
      {"--=x", "--", "x"},
      {"photo.raw", "", "photo.raw"},
      {"\t-q", "", "\t-q"},  // only blanks are trimmed, so a tab hides the option
  };
  for (const KeyValueCase& c : cases) {
    const Parameters parameters{c.parameter};
    EXPECT_EQ(OptionKey(parameters, 0), c.key) << c.parameter;
    EXPECT_EQ(OptionValue(parameters, 0), c.value) << c.parameter;
  }
}

TEST(Parameters, IndexPastTheEndIsEmpty) {
  const Parameters parameters{"-i"};
  EXPECT_EQ(OptionKey(parameters, 1), "");
  EXPECT_EQ(OptionValue(parameters, 1), "");
  EXPECT_EQ(OptionKey(parameters, -1), "");
}

TEST(Parameters, QuoteJoinOverParametersJoinsAPathSplitAtBlanks) {
  const Parameters parameters{"-i", "\"c:\\my", "photos\"", "-q"};
  int index = 1;
  const std::string joined = QuoteJoinParameters(parameters, index, OptionValue(parameters, index));
  EXPECT_EQ(joined, "\"c:\\my photos\"");
  EXPECT_EQ(index, 2);
}

}  // namespace
}  // namespace lumivane::testing
