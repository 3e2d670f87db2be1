#include <gtest/gtest.h>

#include <string>

#include "settings/letter_case.h"

namespace lumivane::testing {
namespace {

struct CaseRow {
  std::string text;
  std::string upper;
  std::string lower;
  std::string title;
};

TEST(LetterCaseTest, MapsAsciiAndOtherLetters) {
  const CaseRow rows[] = {
      {"IMG_0001", "IMG_0001", "img_0001", "Img_0001"},
      {"jpg", "JPG", "jpg", "Jpg"},
      {"", "", "", ""},
      {"\xC3\xA9" "clair", "\xC3\x89" "CLAIR", "\xC3\xA9" "clair", "\xC3\x89" "clair"},   // éclair
      {"\xCE\xA3\xCE\x9F\xCE\xA6", "\xCE\xA3\xCE\x9F\xCE\xA6", "\xCF\x83\xCE\xBF\xCF\x86",  // ΣΟΦ
       "\xCE\xA3\xCE\xBF\xCF\x86"},
      {"a\xFF" "B", "A\xFF" "B", "a\xFF" "b", "A\xFF" "b"},  // a stray byte stays as it is
  };
  for (const CaseRow& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(UpperCaseText(row.text), row.upper);
    EXPECT_EQ(LowerCaseText(row.text), row.lower);
    EXPECT_EQ(TitleCaseText(row.text), row.title);
  }
}

}  // namespace
}  // namespace lumivane::testing
