#include "settings/keywords.h"

#include <gtest/gtest.h>

#include <span>
#include <string_view>

#include "settings/setting_codes.h"
#include "settings/settings_table.h"

namespace lumivane::testing {
namespace {

std::span<const Keyword> KeywordsOfSetting(std::string_view setting) {
  const SettingRow* row = FindSetting(setting);
  return row == nullptr ? std::span<const Keyword>{} : row->keywords;
}

std::span<const Keyword> AcceptedBySetting(std::string_view setting) {
  const SettingRow* row = FindSetting(setting);
  return row == nullptr ? std::span<const Keyword>{} : row->accepted;
}

struct ValueCase {
  std::string_view list;  // what the keywords are, for the failure message
  std::span<const Keyword> keywords;
  const char* text;
  std::int32_t expected;
};

TEST(KeywordValue, FindsTheCodeOfATrimmedCaseFoldedKeyword) {
  const auto dither = KeywordsOf(DitherAlgorithm{});
  const auto rawLoadAs = KeywordsOf(RawLoadAs{});
  const auto bmpCompression = AcceptedBySetting("Output/BMP Compression");
  const ValueCase cases[] = {
      {"dither", dither, "bayer8", CodeOf(DitherAlgorithm::kBayer8)},
      {"dither", dither, "BAYER8", CodeOf(DitherAlgorithm::kBayer8)},
      {"dither", dither, "  Bayer8 ", CodeOf(DitherAlgorithm::kBayer8)},
      {"dither", dither, "\tcluster16\t", CodeOf(DitherAlgorithm::kCluster16)},
      {"dither", dither, " \tcluster8\t ", CodeOf(DitherAlgorithm::kCluster8)},  // blanks and tabs mixed
      {"dither", dither, "sepia", 0},
      {"dither", dither, "", 0},
      {"dither", dither, "bayer 8", 0},
      {"raw load as", rawLoadAs, "48hs", CodeOf(RawLoadAs::k48HalfSize)},
      {"raw load as", rawLoadAs, "48", CodeOf(RawLoadAs::k48)},
      {"raw load as", rawLoadAs, "24", CodeOf(RawLoadAs::k24)},
      {"raw load as", rawLoadAs, "024", 0},  // keywords are words, not numbers
      // Every compression keyword is accepted for every format, with its number in its own format's list.
      {"bmp compression", bmpCompression, "LZW", CodeOf(TiffCompression::kLzw)},
      {"bmp compression", bmpCompression, "zip", CodeOf(ExrCompression::kZip)},
      {"bmp compression", bmpCompression, "zlib9", CodeOf(PngCompression::kZlib9)},
      {"bmp compression", bmpCompression, "b44", CodeOf(ExrCompression::kB44)},
      {"bmp compression", bmpCompression, "logluv", CodeOf(TiffCompression::kLogLuv)},
      {"png compression", AcceptedBySetting("Output/PNG Compression"), "rle", CodeOf(RleCompression::kRle)},
      {"font effect", KeywordsOf(FontEffect{}), "strikethrought", CodeOf(FontEffect::kStrikeout)},
      {"font effect", KeywordsOf(FontEffect{}), "strikethrough", 0},
      {"position", KeywordsOf(Position{}), "bottomright", CodeOf(Position::kBottomRight)},
      {"position", KeywordsOf(Position{}), "middlecenter", CodeOf(Position::kMiddleCenter)},
      {"size mode", KeywordsOf(SizeMode{}), "scaled", 0},
      {"timestamp", KeywordsOf(FileTimestamp{}), "custom", CodeOf(FileTimestamp::kCustom)},
      {"colour mode", KeywordsOf(ColorMode{}), "lab", CodeOf(ColorMode::kLab)},
      {"size unit", KeywordsOf(SizeUnit{}), "percent", CodeOf(SizeUnit::kPercent)},
      {"resize algorithm", KeywordsOf(ResizeAlgorithm{}), "lanczos", CodeOf(ResizeAlgorithm::kLanczos)},
      {"frame kind", KeywordsOf(FrameKind{}), "solid", CodeOf(FrameKind::kSolid)},
      {"watermark kind", KeywordsOf(WatermarkKind{}), "image", CodeOf(WatermarkKind::kImage)},
      {"no keywords", {}, "AUTO", 0},
  };
  for (const ValueCase& c : cases) {
    EXPECT_EQ(KeywordValue(c.keywords, c.text), c.expected) << c.list << ", text \"" << c.text << "\"";
  }
}

struct NameCase {
  std::string_view list;
  std::span<const Keyword> keywords;
  std::int32_t code;
  const char* expected;
};

TEST(KeywordName, GivesTheFirstKeywordOfTheCodeInLowerCase) {
  const NameCase cases[] = {
      {"raw load as", KeywordsOf(RawLoadAs{}), CodeOf(RawLoadAs::kAuto), "auto"},
      {"raw load as", KeywordsOf(RawLoadAs{}), CodeOf(RawLoadAs::k48HalfSize), "48hs"},
      // The first of RLE, ZIP, ZLIB1 and CCITTFAX3.
      {"shared compressions", kCompressionKeywords, CodeOf(RleCompression::kRle), "rle"},
      {"shared compressions", kCompressionKeywords, CodeOf(TiffCompression::kLogLuv), "logluv"},
      {"shared compressions", kCompressionKeywords, CodeOf(TiffCompression::kLogLuv) + 1, ""},
      {"frame kind", KeywordsOf(FrameKind{}), CodeOf(FrameKind::kSolid), "solid"},
      {"watermark kind", KeywordsOf(WatermarkKind{}), CodeOf(WatermarkKind::kImage), "image"},
      {"watermark kind", KeywordsOf(WatermarkKind{}), CodeOf(WatermarkKind::kImage) + 1, ""},
      {"font effect", KeywordsOf(FontEffect{}), CodeOf(FontEffect::kStrikeout), "strikethrought"},
      {"size mode", KeywordsOf(SizeMode{}), CodeOf(SizeMode::kFixed), "fixed"},
      {"dither", KeywordsOf(DitherAlgorithm{}), -1, ""},
      {"no keywords", {}, 0, ""},
  };
  for (const NameCase& c : cases) {
    EXPECT_EQ(KeywordName(c.keywords, c.code), c.expected) << c.list << ", code " << c.code;
  }
}

struct CompressionCase {
  const char* setting;
  std::int32_t code;
  const char* expected;
};

// A compression setting's row names its codes with its own format's keywords only, although it accepts all.
TEST(KeywordName, NamesACompressionCodeWithinTheFormatsOwnKeywords) {
  const CompressionCase cases[] = {
      {"Output/TIFF Compression", CodeOf(TiffCompression::kCcittFax3), "ccittfax3"},
      {"Output/TIFF Compression", CodeOf(TiffCompression::kLzw), "lzw"},
      {"Output/TIFF Compression", CodeOf(TiffCompression::kLogLuv), "logluv"},
      {"Output/TIFF Compression", CodeOf(TiffCompression::kLogLuv) + 1, ""},
      {"Output/TIFF Compression", -1, ""},
      {"Output/EXR Compression", CodeOf(ExrCompression::kZip), "zip"},
      {"Output/EXR Compression", CodeOf(ExrCompression::kB44), "b44"},
      {"Output/EXR Compression", CodeOf(ExrCompression::kB44) + 1, ""},
      {"Output/PNG Compression", CodeOf(PngCompression::kZlib6), "zlib6"},
      {"Output/PNG Compression", CodeOf(PngCompression::kNone), "none"},
      {"Output/BMP Compression", CodeOf(RleCompression::kRle), "rle"},
      {"Output/BMP Compression", CodeOf(TiffCompression::kLzw), ""},  // accepted, but no name of bmp's
      {"Output/TGA Compression", CodeOf(RleCompression::kRle), "rle"},
  };
  for (const CompressionCase& c : cases) {
    EXPECT_EQ(KeywordName(KeywordsOfSetting(c.setting), c.code), c.expected) << c.setting << " code " << c.code;
  }
}

}  // namespace
}  // namespace lumivane::testing
