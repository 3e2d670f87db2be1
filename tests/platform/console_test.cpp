#include "platform/console.h"

#include <gtest/gtest.h>

#include <string>

namespace lumivane::testing {
namespace {

const std::string kReplacement = "\xEF\xBF\xBD";  // U+FFFD

struct PrintableCase {
  const char* name;
  std::string text;
  std::string shown;
};

const PrintableCase kPrintableCases[] = {
    {"Plain", "Processing: /photos/IMG_0001.CR2", "Processing: /photos/IMG_0001.CR2"},
    {"Empty", "", ""},
    {"Newline", "a\nb", "a?b"},
    {"CarriageReturnAndNewline", "a\r\nb", "a??b"},
    {"Tab", "\tx", "?x"},
    {"EscapeSequence", "\x1b[31mred", "?[31mred"},
    {"LowestAndHighestControl", std::string("\x00\x01\x1f", 3), "???"},
    {"NulInsideText", std::string("a\0b", 3), "a?b"},
    {"BlankAndDeleteKept", " \x7f", " \x7f"},
    {"TwoByteKept", "caf\xC3\xA9", "caf\xC3\xA9"},
    {"CopyrightSignKept", "\xC2\xA9 2026", "\xC2\xA9 2026"},
    {"ThreeByteKept", "\xE2\x82\xAC 5", "\xE2\x82\xAC 5"},
    {"FourByteKept", "\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},
    {"InvalidByte", "a\xFFz", "a" + kReplacement + "z"},
    {"StrayContinuation", "\x80", kReplacement},
    {"TruncatedAtEnd", "a\xC3", "a" + kReplacement},
    {"TruncatedBeforeAscii", "\xC3(", kReplacement + "("},
    {"TruncatedThreeByte", "\xE2\x82!", kReplacement + kReplacement + "!"},
    {"Overlong", "\xC0\x80", kReplacement + kReplacement},
    {"OverlongThreeByte", "\xE0\x80\xAF", kReplacement + kReplacement + kReplacement},
    {"Surrogate", "\xED\xA0\x80", kReplacement + kReplacement + kReplacement},
    {"BeyondLastCodePoint", "\xF4\x90\x80\x80", kReplacement + kReplacement + kReplacement + kReplacement},
    {"InvalidThenNewline", "\xFE\n", kReplacement + "?"},
};

TEST(MakePrintable, ShowsEveryTextAsOneLine) {
  for (const PrintableCase& c : kPrintableCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(MakePrintable(c.text), c.shown);
  }
}

}  // namespace
}  // namespace lumivane::testing
