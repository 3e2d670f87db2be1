#include "settings/name_tokens.h"

#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "batch/batch_test_helpers.h"

namespace lumivane::testing {
namespace {

TokenValues ValuesFor(const std::string& inputFile, const std::string& format = "jpg") {
  TokenValues values;
  values.inputFile = inputFile;
  values.outputFormat = format;
  values.bitDepth = 24;
  values.imageWidth = 640;
  values.imageHeight = 480;
  values.frameNumber = 1;
  values.randomNumber = 42;
  values.fileCounter = 1;
  return values;
}

struct MaskCase {
  const char* mask;
  const char* inputFile;
  std::int32_t fileCounter;
  const char* name;
};

TEST(FilenameMaskTest, ExpandsTokensOfALowerCasedMask) {
  const MaskCase cases[] = {
      {"", "/in/IMG_0001.CR2", 1, "IMG_0001.jpg"},                   // the default mask
      {"%filename%.%ext%", "/in/IMG_0001.CR2", 1, "IMG_0001.jpg"},
      {"%FILENAME%.%EXT%", "/in/IMG_0001.CR2", 1, "IMG_0001.jpg"},   // tokens in capitals behave alike
      {"%filename[l]%.%ext[u]%", "/in/IMG_0001.CR2", 1, "img_0001.JPG"},
      {"%filename[t]%_%ext[t]%", "/in/IMG_0001.CR2", 1, "Img_0001_Jpg"},
      {"%filename[u]%", "/in/img_0001.cr2", 1, "IMG_0001"},
      {"Photo_%n%.%ext%", "/in/IMG_0001.CR2", 1, "photo_00001.jpg"},   // literal text comes out lower case
      {"%n%", "/in/x.cr2", 2, "00002"},
      {"%n%", "/in/x.cr2", 123456, "12345"},                           // only the first five characters
      {"%rnd%", "/in/x.cr2", 1, "00042"},
      {"%filename%", "/in/a.b.cr2", 1, "a.b"},
      {"%filename%", "/in/.hidden", 1, ".hidden"},
      {"%bpp%-%width%x%height%-%frame%", "/in/x.cr2", 1, "24-640x480-1"},
      {"%filename%", "/in/day1/IMG_0001.CR2", 1, "IMG_0001"},
      {"plain", "/in/x.cr2", 1, "plain"},                               // same name for every file
      {"%filename%", "/in/x.cr2", 1, "x"},                              // no extension without "%ext%"
      {"%yyyy_%n%", "/in/x.cr2", 1, "%yyyy_00001"},                     // no closing "%": not a token
      {"%n%%n%", "/in/x.cr2", 7, "0000700007"},
      {"\xC3\x84" "B_%n%", "/in/x.cr2", 1, "\xC3\xA4" "b_00001"},          // ÄB lowered to äb
      {"%filename[t]%", "/in/\xC3\xA9" "CLAIR.cr2", 1, "\xC3\x89" "clair"},  // éCLAIR -> Éclair
      // A value inserted earlier that holds a later token is expanded too...
      {"%filename%", "/in/x%ext%.cr2", 1, "xjpg"},
      // ...but each token is looked for only once, so an earlier token inserted later stays.
      {"%ext%_%filename%", "/in/y%filename%.cr2", 1, "jpg_y%filename%"},
  };
  for (const MaskCase& c : cases) {
    SCOPED_TRACE(std::string(c.mask) + " for " + c.inputFile);
    TokenValues values = ValuesFor(c.inputFile);
    values.fileCounter = c.fileCounter;
    EXPECT_EQ(ExpandFilenameMask(c.mask, values), c.name);
  }
}

TEST(FilenameMaskTest, DateTokensShowTheLocalTime) {
  const TimeZoneScope zone("XST-3");  // three hours east of UTC, no summer time
  std::tm utc{};
  utc.tm_year = 2024 - 1900;
  utc.tm_mon = 2;
  utc.tm_mday = 5;
  utc.tm_hour = 22;
  utc.tm_min = 8;
  utc.tm_sec = 9;
  TokenValues values = ValuesFor("/in/x.cr2");
  values.moment = timegm(&utc);
  EXPECT_EQ(ExpandFilenameMask("%YYYY%-%mm%-%dd% %hh%.%ii%.%ss%", values), "2024-03-06 01.08.09");
}

TEST(FilenameMaskTest, DateTokensReadTheClockWhenNoTimeIsGiven) {
  const std::time_t before = std::time(nullptr);
  const std::string year = ExpandFilenameMask("%yyyy%", ValuesFor("/in/x.cr2"));
  const std::time_t after = std::time(nullptr);
  std::tm local{};
  localtime_r(&before, &local);
  const std::string yearBefore = std::to_string(local.tm_year + 1900);
  localtime_r(&after, &local);
  const std::string yearAfter = std::to_string(local.tm_year + 1900);
  EXPECT_TRUE(year == yearBefore || year == yearAfter) << year;
}

TEST(ExpandTokenTest, ReplacesEveryOccurrenceInAnyCase) {
  const TokenValues values = ValuesFor("/in/IMG_0001.CR2");
  EXPECT_EQ(ExpandToken("%Ext%-%EXT%-%ext", "%ext%", values), "jpg-jpg-%ext");
  EXPECT_EQ(ExpandToken("a%n%b", "%N%", values), "a00001b");
  EXPECT_EQ(ExpandToken("%x%", "%x%", values), "%x%") << "an unknown token changes nothing";
}

TEST(ExpandTokenTest, EveryTokenOfTheListHasItsValue) {
  TokenValues values = ValuesFor("/in/IMG_0001.CR2", "tiff");
  std::tm utc{};
  utc.tm_year = 2031 - 1900;
  utc.tm_mon = 11;
  utc.tm_mday = 24;
  utc.tm_hour = 3;
  utc.tm_min = 4;
  utc.tm_sec = 5;
  const TimeZoneScope zone("UTC0");
  values.moment = timegm(&utc);
  values.randomNumber = 99999;
  values.fileCounter = 12;
  const char* const expected[] = {"IMG_0001", "IMG_0001", "img_0001", "Img_0001", "tiff", "TIFF", "Tiff",
                                  "2031",     "12",       "24",       "03",       "04",   "05",   "24",
                                  "640",      "480",      "1",        "99999",    "00012"};
  static_assert(std::size(expected) == kTokenTable.size());
  for (std::size_t i = 0; i < kTokenTable.size(); ++i) {
    SCOPED_TRACE(kTokenTable[i].token);
    EXPECT_EQ(TokenValue(kTokenTable[i].token, values), expected[i]);
  }
}

struct WatermarkCase {
  const char* text;
  const char* filled;
};

TEST(WatermarkTextTest, ExpandsTokensAndKeepsLiteralCase) {
  const WatermarkCase cases[] = {
      {"50% off", "50% off"},                          // a single "%" leaves the text alone
      {"100%", "100%"},
      {"%filename% by Me", "IMG_0001 by Me"},
      {"%FILENAME% By ME", "IMG_0001 By ME"},          // capital tokens are replaced too
      {"%Ext[U]% #%n% of %N%", "JPG #00001 of 00001"},
      {"%yyyy no token %", "%yyyy no token %"},
      {"", ""},
  };
  for (const WatermarkCase& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(FillWatermarkText(c.text, ValuesFor("/in/IMG_0001.CR2")), c.filled);
  }
}

}  // namespace
}  // namespace lumivane::testing
