#include <gtest/gtest.h>

#include <cstdint>
#include <ctime>
#include <string>
#include <variant>
#include <vector>

#include "formats/registry.h"
#include "settings/settings.h"
#include "settings/settings_table.h"

namespace lumivane::testing {
namespace {

struct Int8 {
  std::int8_t value;
};
using ExpectedValue = std::variant<Int8, std::int32_t, float, std::string>;

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
      {"Input/Format", "raw"}, {"Input/DDS Load As", 0}, {"Input/GIF Frame Loading", 0},
      {"Input/ICO Frame Loading", 0}, {"Input/TIFF Frame Loading", 0}, {"Input/PSD Color Mode", 0},
      {"Input/RAW Load As", 0}, {"Input/RAW Header Size", 0}, {"Input/RAW Image Width", 0},
      {"Input/RAW Image Height", 0}, {"Input/RAW Tone Mapping", 2},
      {"Output/Format", "bmp"}, {"Output/BMP BPP", 0}, {"Output/BMP Compression", 0}, {"Output/BMP Color Table", 0},
      {"Output/DDS BPP", 0}, {"Output/EXR BPP", 0}, {"Output/EXR Compression", 0}, {"Output/GIF BPP", 0},
      {"Output/HDR BPP", 0}, {"Output/ICO BPP", 0}, {"Output/J2K BPP", 0}, {"Output/JNG BPP", 0},
      {"Output/JP2 BPP", 0}, {"Output/JPG BPP", 0}, {"Output/JPG Quality", 95}, {"Output/JPG Chroma", 0},
      {"Output/JPG Save As", 0}, {"Output/JXR BPP", 0}, {"Output/PBM BPP", 0}, {"Output/PCX BPP", 0},
      {"Output/PFM BPP", 0}, {"Output/PGM BPP", 0}, {"Output/PNG BPP", 0}, {"Output/PNG Compression", 0},
      {"Output/PNG Interlaced", Int8{0}}, {"Output/PPM BPP", 0}, {"Output/PSD BPP", 0}, {"Output/TGA BPP", 0},
      {"Output/TGA Compression", 0}, {"Output/TIFF BPP", 0}, {"Output/TIFF Compression", 0},
      {"Output/TIFF Color Mode", 0}, {"Output/WBMP BPP", 0}, {"Output/WEBP BPP", 0}, {"Output/WEBP Quality", 100},
      {"Output/XPM BPP", 0},
      {"Transform/Do Image Rotation", Int8{0}}, {"Transform/Image Rotation Type", Int8{0}},
      {"Transform/Image Rotation", 0}, {"Transform/Image Rotation Back Color", "000000"},
      {"Transform/Do Image Resize", Int8{0}}, {"Transform/Image Width", 0}, {"Transform/Image Width Unit", Int8{0}},
      {"Transform/Image Height", 0}, {"Transform/Image Height Unit", Int8{0}},
      {"Transform/Keep Aspect Ratio", Int8{0}}, {"Transform/Image Resize Type", Int8{0}},
      {"Transform/Image Resize Algorithm", Int8{3}}, {"Transform/Do Image Flip Horizontal", Int8{0}},
      {"Transform/Do Image Flip Vertical", Int8{0}},
      {"Adjustment/Do Image Color Correction", Int8{0}}, {"Adjustment/Image Brightness", 0},
      {"Adjustment/Image Contrast", 0}, {"Adjustment/Image Gamma", 1.0f}, {"Adjustment/Image Invert", Int8{0}},
      {"Adjustment/Do Image Greyscale", Int8{0}}, {"Adjustment/Do Image Threshold", Int8{0}},
      {"Adjustment/Image Threshold", 0}, {"Adjustment/Do Image Dither", Int8{0}},
      {"Adjustment/Image Dither Algorithm", Int8{0}},
      {"Frame/Do Frame", Int8{0}}, {"Frame/Solid Left", 0}, {"Frame/Solid Right", 0}, {"Frame/Solid Top", 0},
      {"Frame/Solid Bottom", 0}, {"Frame/Solid Left Color", "000000"}, {"Frame/Solid Right Color", "000000"},
      {"Frame/Solid Top Color", "000000"}, {"Frame/Solid Bottom Color", "000000"}, {"Frame/Solid Opacity", 255},
      {"Watermark/Do Watermark", Int8{0}}, {"Watermark/Text", "\u00A9 2026 Tarnwick"},
      {"Watermark/Fonts", "Arial,Tahoma,Verdana"}, {"Watermark/Font", "Arial"}, {"Watermark/Font Size", 14},
      {"Watermark/Font Leading", 0}, {"Watermark/Font Colors", kPalette}, {"Watermark/Font Color", "FFFFFF"},
      {"Watermark/Font Style", Int8{0}}, {"Watermark/Font Effect", Int8{0}},
      {"Watermark/Text Antialiasing", Int8{0}}, {"Watermark/Text Alignment", Int8{0}},
      {"Watermark/Text Padding", 0}, {"Watermark/Text Opacity", 255}, {"Watermark/Back Colors", kPalette},
      {"Watermark/Back Color", "000000"}, {"Watermark/Back Opacity", 1}, {"Watermark/Text Boundary", Int8{0}},
      {"Watermark/Text Position", Int8{8}}, {"Watermark/Text X Offset", 10}, {"Watermark/Text Y Offset", 10},
      {"Watermark/Text Rotation", 0}, {"Watermark/Text Size", Int8{0}}, {"Watermark/Text Scale", 10},
      {"Watermark/Image", ""}, {"Watermark/Image Greyscale", Int8{0}}, {"Watermark/Image Opacity", 255},
      {"Watermark/Image Boundary", Int8{0}}, {"Watermark/Image Position", Int8{8}},
      {"Watermark/Image X Offset", 10}, {"Watermark/Image Y Offset", 10}, {"Watermark/Image Rotation", 0},
      {"Watermark/Image Size", Int8{0}}, {"Watermark/Image Scale", 10},
      {"Advanced/Filename Mask", "%filename%.%ext%"}, {"Advanced/File Timestamp", Int8{0}},
      {"Advanced/Custom Timestamp", kNow}, {"Advanced/Out Folders History", Int8{1}},
      {"Advanced/Out Folders Number", Int8{5}}, {"Advanced/Keep Subfolders", Int8{1}},
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
    if (const auto* int8 = std::get_if<Int8>(&want.value)) {
      const auto* field = SettingField<std::int8_t>(settings, *row);
      ASSERT_NE(field, nullptr) << "not an int8 setting";
      EXPECT_EQ(*field, int8->value);
    } else if (const auto* int32 = std::get_if<std::int32_t>(&want.value)) {
      const auto* field = SettingField<std::int32_t>(settings, *row);
      ASSERT_NE(field, nullptr) << "not an int32 setting";
      if (*int32 == kNow) {
        EXPECT_GE(*field, before);
        EXPECT_LE(*field, after);
      } else {
        EXPECT_EQ(*field, *int32);
      }
    } else if (const auto* real = std::get_if<float>(&want.value)) {
      const auto* field = SettingField<float>(settings, *row);
      ASSERT_NE(field, nullptr) << "not a float32 setting";
      EXPECT_EQ(*field, *real);
    } else {
      const auto* field = SettingField<std::string>(settings, *row);
      ASSERT_NE(field, nullptr) << "not a string setting";
      EXPECT_EQ(*field, std::get<std::string>(want.value));
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
