#include <gtest/gtest.h>

#include <cstdint>
#include <ctime>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "formats/registry.h"
#include "settings/setting_codes.h"
#include "settings/settings.h"
#include "settings/settings_table.h"

namespace lumivane::testing {
namespace {

struct Int8 {
  std::int8_t value;
};
// A code setting's default: the code, the width of its type and the keywords that name its codes.
struct Coded {
  std::int32_t code;
  SettingType type;
  std::span<const Keyword> keywords;

  template <KeywordCode Code>
  constexpr Coded(Code value)
      : code(CodeOf(value)), type(sizeof(Code) == 1 ? SettingType::kInt8 : SettingType::kInt32),
        keywords(KeywordsOf(Code{})) {}
};
using ExpectedValue = std::variant<Int8, Coded, std::int32_t, float, std::string>;

struct ExpectedDefault {
  std::string name;
  ExpectedValue value;
};

constexpr const char* kPalette = "000000,FFFFFF,FF0000,FF8000,FFFF00,008000,00FFFF,0000FF,8000FF";
constexpr std::int32_t kNow = -1;  // marks the two date settings, checked against the clock instead

// The command-line defaults, written out from the product's settings list (not from the code's table).
std::vector<ExpectedDefault> CommandLineDefaults() {
  return {
      {"General/CFG", 19}, {"General/Language", "en"}, {"General/Update Range", 2}, {"General/Update Date", kNow},
      {"General/Save Window Position", Int8{1}},
      {"Window/IsMaximized", Int8{0}}, {"Window/X", 100}, {"Window/Y", 100}, {"Window/Width", 510},
      {"Window/Height", 330}, {"Window/Hide Passwords", Int8{0}}, {"Window/Show Single Password", Int8{1}},
      {"Window/Show Password List", Int8{1}}, {"Window/Show Character Set", Int8{1}},
      {"Window/Show Advanced Options", Int8{1}},
      {"Interface/UI Theme", "handdrawn"}, {"Interface/UI Size", 2},
      {"Input/Format", "raw"}, {"Input/DDS Load As", Coded{DdsLoadAs::kAuto}},
      {"Input/GIF Frame Loading", Coded{FrameLoading::kAll}}, {"Input/ICO Frame Loading", Coded{FrameLoading::kAll}},
      {"Input/TIFF Frame Loading", Coded{FrameLoading::kAll}}, {"Input/PSD Color Mode", Coded{ColorMode::kRgb}},
      {"Input/RAW Load As", Coded{RawLoadAs::kAuto}}, {"Input/RAW Header Size", 0}, {"Input/RAW Image Width", 0},
      {"Input/RAW Image Height", 0}, {"Input/RAW Tone Mapping", Coded{ToneMapping::kDrago}},
      {"Output/Format", "bmp"}, {"Output/BMP BPP", 0}, {"Output/BMP Compression", Coded{RleCompression::kNone}},
      {"Output/BMP Color Table", Coded{ColorTable::kAuto}}, {"Output/DDS BPP", 0}, {"Output/EXR BPP", 0},
      {"Output/EXR Compression", Coded{ExrCompression::kNone}}, {"Output/GIF BPP", 0}, {"Output/HDR BPP", 0},
      {"Output/ICO BPP", 0}, {"Output/J2K BPP", 0}, {"Output/JNG BPP", 0}, {"Output/JP2 BPP", 0}, {"Output/JPG BPP", 0},
      {"Output/JPG Quality", 95}, {"Output/JPG Chroma", Coded{ChromaSubsampling::kNone}},
      {"Output/JPG Save As", Coded{JpegSaveAs::kStandard}}, {"Output/JXR BPP", 0}, {"Output/PBM BPP", 0},
      {"Output/PCX BPP", 0}, {"Output/PFM BPP", 0}, {"Output/PGM BPP", 0}, {"Output/PNG BPP", 0},
      {"Output/PNG Compression", Coded{PngCompression::kNone}}, {"Output/PNG Interlaced", Int8{0}},
      {"Output/PPM BPP", 0}, {"Output/PSD BPP", 0}, {"Output/TGA BPP", 0},
      {"Output/TGA Compression", Coded{RleCompression::kNone}}, {"Output/TIFF BPP", 0},
      {"Output/TIFF Compression", Coded{TiffCompression::kNone}}, {"Output/TIFF Color Mode", Coded{ColorMode::kRgb}},
      {"Output/WBMP BPP", 0}, {"Output/WEBP BPP", 0}, {"Output/WEBP Quality", 100}, {"Output/XPM BPP", 0},
      {"Transform/Do Image Rotation", Int8{0}}, {"Transform/Image Rotation Type", Coded{RotationType::kSimple}},
      {"Transform/Image Rotation", 0}, {"Transform/Image Rotation Back Color", "000000"},
      {"Transform/Do Image Resize", Int8{0}}, {"Transform/Image Width", 0},
      {"Transform/Image Width Unit", Coded{SizeUnit::kPixels}}, {"Transform/Image Height", 0},
      {"Transform/Image Height Unit", Coded{SizeUnit::kPixels}}, {"Transform/Keep Aspect Ratio", Int8{0}},
      {"Transform/Image Resize Type", Coded{ResizeType::kAllImages}},
      {"Transform/Image Resize Algorithm", Coded{ResizeAlgorithm::kBicubic}},
      {"Transform/Do Image Flip Horizontal", Int8{0}}, {"Transform/Do Image Flip Vertical", Int8{0}},
      {"Adjustment/Do Image Color Correction", Int8{0}}, {"Adjustment/Image Brightness", 0},
      {"Adjustment/Image Contrast", 0}, {"Adjustment/Image Gamma", 1.0f}, {"Adjustment/Image Invert", Int8{0}},
      {"Adjustment/Do Image Greyscale", Int8{0}}, {"Adjustment/Do Image Threshold", Int8{0}},
      {"Adjustment/Image Threshold", 0}, {"Adjustment/Do Image Dither", Int8{0}},
      {"Adjustment/Image Dither Algorithm", Coded{DitherAlgorithm::kFloydSteinberg}},
      {"Frame/Do Frame", Coded{FrameKind::kNone}}, {"Frame/Solid Left", 0}, {"Frame/Solid Right", 0},
      {"Frame/Solid Top", 0}, {"Frame/Solid Bottom", 0}, {"Frame/Solid Left Color", "000000"},
      {"Frame/Solid Right Color", "000000"}, {"Frame/Solid Top Color", "000000"},
      {"Frame/Solid Bottom Color", "000000"}, {"Frame/Solid Opacity", 255},
      {"Watermark/Do Watermark", Coded{WatermarkKind::kNone}}, {"Watermark/Text", "\u00A9 2026 Tarnwick"},
      {"Watermark/Fonts", "Arial,Tahoma,Verdana"}, {"Watermark/Font", "Arial"}, {"Watermark/Font Size", 14},
      {"Watermark/Font Leading", 0}, {"Watermark/Font Colors", kPalette}, {"Watermark/Font Color", "FFFFFF"},
      {"Watermark/Font Style", Coded{FontStyle::kRegular}}, {"Watermark/Font Effect", Coded{FontEffect::kNone}},
      {"Watermark/Text Antialiasing", Int8{0}}, {"Watermark/Text Alignment", Coded{TextAlignment::kLeft}},
      {"Watermark/Text Padding", 0}, {"Watermark/Text Opacity", 255}, {"Watermark/Back Colors", kPalette},
      {"Watermark/Back Color", "000000"}, {"Watermark/Back Opacity", 1},
      {"Watermark/Text Boundary", Coded{Boundary::kImage}}, {"Watermark/Text Position", Coded{Position::kBottomRight}},
      {"Watermark/Text X Offset", 10}, {"Watermark/Text Y Offset", 10}, {"Watermark/Text Rotation", 0},
      {"Watermark/Text Size", Coded{SizeMode::kFixed}}, {"Watermark/Text Scale", 10}, {"Watermark/Image", ""},
      {"Watermark/Image Greyscale", Int8{0}}, {"Watermark/Image Opacity", 255},
      {"Watermark/Image Boundary", Coded{Boundary::kImage}},
      {"Watermark/Image Position", Coded{Position::kBottomRight}}, {"Watermark/Image X Offset", 10},
      {"Watermark/Image Y Offset", 10}, {"Watermark/Image Rotation", 0},
      {"Watermark/Image Size", Coded{SizeMode::kFixed}}, {"Watermark/Image Scale", 10},
      {"Advanced/Filename Mask", "%filename%.%ext%"}, {"Advanced/File Timestamp", Coded{FileTimestamp::kCurrent}},
      {"Advanced/Custom Timestamp", kNow}, {"Advanced/Out Folders History", Int8{1}},
      {"Advanced/Out Folders Number", Int8{5}}, {"Advanced/Keep Subfolders", Int8{1}},
      {"Advanced/Metadata", Coded{MetadataKeeping::kKeep}},
      {"File/TxtFields", "username,password,firstname,lastname,title,sex,notes"}, {"File/CsvDelimiter", ","},
      {"File/Recent Out Folders", ""}, {"File/Recent Files", ""},
      {"Privacy/Clean Recent Files", Int8{0}},
  };
}

// Local wall-clock seconds computed here independently: broken-down local time counted as if it were UTC.
std::int64_t WallClockNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return timegm(&local);
}

void ExpectDefaults(const Settings& settings, const std::vector<ExpectedDefault>& expected, std::int64_t before,
                    std::int64_t after) {
  ASSERT_EQ(expected.size(), kSettingTable.size()) << "every setting needs exactly one expected default";
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const ExpectedDefault& want = expected[i];
    SCOPED_TRACE(want.name);
    const SettingRow* row = FindSetting(want.name);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row, &kSettingTable[i]) << "table order differs from the settings list";
    const SettingAccess& access = row->access;
    if (const auto* int8 = std::get_if<Int8>(&want.value)) {
      ASSERT_EQ(row->type, SettingType::kInt8) << "not an int8 setting";
      EXPECT_TRUE(row->keywords.empty()) << "a code setting";
      EXPECT_EQ(access.number(settings), int8->value);
    } else if (const auto* coded = std::get_if<Coded>(&want.value)) {
      ASSERT_EQ(row->type, coded->type) << "a code of another width";
      EXPECT_EQ(row->keywords.data(), coded->keywords.data()) << "not a setting of that code type";
      EXPECT_EQ(access.number(settings), coded->code);
    } else if (const auto* int32 = std::get_if<std::int32_t>(&want.value)) {
      ASSERT_EQ(row->type, SettingType::kInt32) << "not an int32 setting";
      EXPECT_TRUE(row->keywords.empty()) << "a code setting";
      const std::int32_t value = access.number(settings);
      if (*int32 == kNow) {
        EXPECT_GE(value, before);
        EXPECT_LE(value, after);
      } else {
        EXPECT_EQ(value, *int32);
      }
    } else if (const auto* real = std::get_if<float>(&want.value)) {
      ASSERT_EQ(row->type, SettingType::kFloat32) << "not a float32 setting";
      EXPECT_EQ(access.real(settings), *real);
    } else {
      ASSERT_EQ(row->type, SettingType::kString) << "not a string setting";
      EXPECT_EQ(access.text(settings), std::get<std::string>(want.value));
    }
  }
}

TEST(ResetSettings, GivesEveryCommandLineDefault) {
  BuildRegistry();
  Settings settings;
  const std::int64_t before = WallClockNow();
  ResetSettings(settings, true);
  const std::int64_t after = WallClockNow();
  ExpectDefaults(settings, CommandLineDefaults(), before, after);
}

TEST(ResetSettings, WindowedDefaultsDifferOnlyInKeepAspectRatio) {
  BuildRegistry();
  std::vector<ExpectedDefault> expected = CommandLineDefaults();
  for (ExpectedDefault& entry : expected) {
    if (entry.name == "Transform/Keep Aspect Ratio") entry.value = Int8{1};
  }
  Settings settings;
  const std::int64_t before = WallClockNow();
  ResetSettings(settings, false);
  const std::int64_t after = WallClockNow();
  ExpectDefaults(settings, expected, before, after);
}

TEST(ResetSettings, OverwritesEverySettingButKeepsTheConfigurationPath) {
  BuildRegistry();
  Settings fresh;
  ResetSettings(fresh, true);
  Settings used = fresh;
  used.configPath = "/somewhere/config.ini";
  used.output.jpgQuality = 12;
  used.adjustment.imageGamma = 3.0f;
  used.watermark.text = "changed";
  used.transform.keepAspectRatio = 1;
  used.window.showCharacterSet = 0;
  ResetSettings(used, true);
  EXPECT_EQ(used.configPath, "/somewhere/config.ini");
  used.configPath.clear();
  used.general.updateDate = fresh.general.updateDate;  // the clock may have moved on
  used.advanced.customTimestamp = fresh.advanced.customTimestamp;
  EXPECT_EQ(used, fresh);
}

TEST(ResetSettings, DateSettingsAreLocalWallClockSeconds) {
  BuildRegistry();
  Settings settings;
  const std::int64_t before = WallClockNow();
  ResetSettings(settings, true);
  const std::int64_t after = WallClockNow();
  EXPECT_GE(settings.general.updateDate, before);
  EXPECT_LE(settings.general.updateDate, after);
  EXPECT_EQ(settings.general.updateDate, settings.advanced.customTimestamp);
}

TEST(ResetSettings, ConvenienceResetsTheProcessRecord) {
  BuildRegistry();
  const Settings saved = gSettings;
  gSettings.output.jpgQuality = 3;
  gSettings.transform.keepAspectRatio = 0;
  ResetSettings(false);
  EXPECT_EQ(gSettings.output.jpgQuality, 95);
  EXPECT_EQ(gSettings.transform.keepAspectRatio, 1);
  gSettings = saved;
}

}  // namespace
}  // namespace lumivane::testing
