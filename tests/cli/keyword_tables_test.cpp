#include "cli/keyword_tables.h"

#include <gtest/gtest.h>

namespace lumivane::testing {
namespace {

struct ValueCase {
  KeywordTable table;
  const char* text;
  std::int32_t expected;
};

TEST(KeywordValue, FindsTheCodeOfATrimmedCaseFoldedKeyword) {
  using enum KeywordTable;
  const ValueCase cases[] = {
      {kDither, "bayer8", 2},
      {kDither, "BAYER8", 2},
      {kDither, "  Bayer8 ", 2},
      {kDither, "\tcluster16\t", 6},
      {kDither, "sepia", 0},
      {kDither, "", 0},
      {kDither, "bayer 8", 0},
      {kRawLoadAs, "48hs", 4},
      {kRawLoadAs, "48", 5},
      {kRawLoadAs, "24", 3},
      {kRawLoadAs, "024", 0},    // keywords are words, not numbers
      {kCompression, "LZW", 6},  // every compression keyword is accepted for every format
      {kCompression, "zip", 1},
      {kCompression, "zlib9", 3},
      {kCompression, "b44", 4},
      {kCompression, "logluv", 8},
      {kFontEffect, "strikethrought", 2},
      {kFontEffect, "strikethrough", 0},
      {kPosition, "bottomright", 8},
      {kPosition, "middlecenter", 4},
      {kSizeMode, "scaled", 0},
      {kTimestamp, "custom", 2},
      {kColorMode, "lab", 2},
      {kSizeUnit, "percent", 1},
      {kResizeAlgorithm, "lanczos", 5},
      {kFrameKind, "solid", 1},
      {kWatermarkKind, "image", 2},
      {static_cast<KeywordTable>(23), "AUTO", 0},
  };
  for (const ValueCase& c : cases) {
    EXPECT_EQ(KeywordValue(c.table, c.text), c.expected)
        << "table " << static_cast<int>(c.table) << ", text \"" << c.text << "\"";
  }
}

struct NameCase {
  KeywordTable table;
  std::int32_t code;
  const char* expected;
};

TEST(KeywordName, GivesTheFirstKeywordOfTheCodeInLowerCase) {
  using enum KeywordTable;
  const NameCase cases[] = {
      {kRawLoadAs, 0, "auto"},
      {kRawLoadAs, 4, "48hs"},
      {kCompression, 1, "rle"},  // first of RLE, ZIP, ZLIB1, CCITTFAX3
      {kCompression, 8, "logluv"},
      {kCompression, 9, ""},
      {kFrameKind, 1, "solid"},
      {kWatermarkKind, 2, "image"},
      {kWatermarkKind, 3, ""},
      {kFontEffect, 2, "strikethrought"},
      {kSizeMode, 0, "fixed"},
      {kDither, -1, ""},
      {static_cast<KeywordTable>(200), 0, ""},
  };
  for (const NameCase& c : cases) {
    EXPECT_EQ(KeywordName(c.table, c.code), c.expected) << "table " << static_cast<int>(c.table) << ", code " << c.code;
  }
}

struct CompressionCase {
  const char* format;
  std::int32_t code;
  const char* expected;
};

TEST(CompressionKeywordName, NamesTheCodeWithinTheFormatsOwnKeywords) {
  const CompressionCase cases[] = {
      {"tiff", 1, "ccittfax3"}, {"tiff", 6, "lzw"}, {"tiff", 8, "logluv"}, {"tiff", 9, ""},    {"exr", 1, "zip"},
      {"exr", 4, "b44"},        {"exr", 5, ""},     {"png", 2, "zlib6"},   {"png", 0, "none"}, {"bmp", 1, "rle"},
      {"bmp", 6, ""},           {"tga", 1, "rle"},  {"jpg", 0, ""},        {"TIFF", 1, ""},    {"tiff", -1, ""},
  };
  for (const CompressionCase& c : cases) {
    EXPECT_EQ(CompressionKeywordName(c.format, c.code), c.expected) << c.format << " code " << c.code;
  }
}

}  // namespace
}  // namespace lumivane::testing
