#include "platform/ascii_text.h"

#include <gtest/gtest.h>

namespace lumivane::testing {
namespace {

TEST(AsciiText, FoldsAsciiLettersOnlyAndKeepsOtherBytes) {
  EXPECT_EQ(AsciiUpper("--jpg-quality\xC3\xA9"), "--JPG-QUALITY\xC3\xA9");
  EXPECT_EQ(AsciiLower("CCITTFAX3"), "ccittfax3");
  EXPECT_EQ(AsciiLower("\xC3\x89T\xC3\x89"), "\xC3\x89t\xC3\x89");
}

}  // namespace
}  // namespace lumivane::testing
