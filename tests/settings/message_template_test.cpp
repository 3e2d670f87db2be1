#include "settings/message_template.h"

#include <gtest/gtest.h>

namespace lumivane::testing {
namespace {

struct FillCase {
  const char* name;
  std::string messageTemplate;
  std::string s1, s2, s3, s4;
  std::string expected;
};

const FillCase kFillCases[] = {
    {"TwoNumbers", "Files converted: %s1% of %s2%", "3", "5", "", "", "Files converted: 3 of 5"},
    {"EmptyArgumentsLeavePlaceholders", "Import complete, new files added: %s1%", "", "", "", "",
     "Import complete, new files added: %s1%"},
    {"ZeroIsNotEmpty", "Import complete, new files added: %s1%", "0", "", "", "",
     "Import complete, new files added: 0"},
    {"EmptyTemplate", "", "a", "b", "c", "d", ""},
    {"UpperCasePlaceholder", "a %S2% b", "", "x", "", "", "a x b"},
    {"EveryOccurrence", "%s1%-%S1%-%s1%", "ab", "", "", "", "ab-ab-ab"},
    {"AllFourInOrder", "%s4%%s3%%s2%%s1%", "1", "2", "3", "4", "4321"},
    {"EarlierArgumentBringsInLaterPlaceholder", "[%s1%]", "%s2%", "x", "", "", "[x]"},
    {"LaterArgumentIsNotFilledByEarlierOne", "[%s2%]", "a", "%s1%", "", "", "[%s1%]"},
    {"ArgumentHoldingItsOwnPlaceholder", "%s1% and %s1%", "%s1%", "", "", "", "%s1% and %s1%"},
    {"OtherPlaceholdersStay", "%s5% %s0% %s1%", "a", "", "", "", "%s5% %s0% a"},
    {"IncompletePlaceholderStays", "%s1 %s1%", "x", "", "", "", "%s1 x"},
    {"SearchGoesOnAfterTheInsertedValue", "%s1%1%", "%s", "", "", "", "%s1%"},
    {"MultiByteArguments", "%s1% \xE2\x86\x92 %s2%", "caf\xC3\xA9", "\xF0\x9F\x98\x80", "", "",
     "caf\xC3\xA9 \xE2\x86\x92 \xF0\x9F\x98\x80"},
};

TEST(FillTemplate, FillsPlaceholdersOneArgumentAfterTheOther) {
  for (const FillCase& c : kFillCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FillTemplate(c.messageTemplate, c.s1, c.s2, c.s3, c.s4), c.expected);
  }
}

}  // namespace
}  // namespace lumivane::testing
