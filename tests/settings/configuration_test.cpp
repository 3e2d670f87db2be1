#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "formats/registry.h"
#include "settings/configuration.h"
#include "settings/preferences_reader.h"
#include "settings/settings.h"
#include "settings/settings_table.h"
#include "support/temp_dir.h"

namespace lumivane::testing {
namespace {

class ScopedVariable {
 public:
  ScopedVariable(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) previous_ = old;
    if (value != nullptr) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedVariable() {
    if (previous_) {
      setenv(name_.c_str(), previous_->c_str(), 1);
    } else {
      unsetenv(name_.c_str());
    }
  }

 private:
  std::string name_;
  std::optional<std::string> previous_;
};

Settings WindowedDefaults(const std::string& configPath) {
  BuildRegistry();
  Settings settings;
  settings.configPath = configPath;
  ResetSettings(settings, false);
  return settings;
}

// Splits a file's text at CR LF, checking that no other line end occurs.
std::vector<std::string> CrLfLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    EXPECT_NE(end, std::string::npos) << "text must end with CR LF";
    if (end == std::string::npos) break;
    lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(lines.back().find_first_of("\r\n"), std::string::npos) << lines.back();
    start = end + 2;
  }
  return lines;
}

// The saved layout, written out from the product's file description: header, keys, "; " line per group.
std::vector<std::string> ExpectedLayout(bool windowPosition) {
  const std::vector<std::pair<std::string, std::vector<std::string>>> groups = {
      {"General", {"CFG", "Language", "Update Range", "Update Date", "Save Window Position"}},
      {"Window", windowPosition ? std::vector<std::string>{"IsMaximized", "Width", "Height", "X", "Y"}
                                : std::vector<std::string>{}},
      {"Interface", {"UI Theme", "UI Size"}},
      {"Input",
       {"Format", "RAW Load As", "RAW Header Size", "RAW Image Width", "RAW Image Height", "RAW Tone Mapping"}},
      {"Output", {"Format",          "BMP BPP",         "BMP Compression", "BMP Color Table", "DDS BPP",
                  "EXR BPP",         "EXR Compression", "GIF BPP",         "HDR BPP",         "ICO BPP",
                  "J2K BPP",         "JNG BPP",         "JP2 BPP",         "JPG BPP",         "JPG Quality",
                  "JPG Chroma",      "JPG Save As",     "JXR BPP",         "PBM BPP",         "PCX BPP",
                  "PFM BPP",         "PGM BPP",         "PNG BPP",         "PNG Compression", "PNG Interlaced",
                  "PPM BPP",         "PSD BPP",         "TGA BPP",         "TGA Compression", "TIFF BPP",
                  "TIFF Compression", "TIFF Color Mode", "WBMP BPP",       "WEBP BPP",        "WEBP Quality",
                  "XPM BPP"}},
      {"Transform", {"Do Image Rotation", "Image Rotation Type", "Image Rotation", "Image Rotation Back Color",
                     "Do Image Resize", "Image Width", "Image Width Unit", "Image Height", "Image Height Unit",
                     "Keep Aspect Ratio", "Image Resize Type", "Image Resize Algorithm", "Do Image Flip Horizontal",
                     "Do Image Flip Vertical"}},
      {"Adjustment", {"Do Image Color Correction", "Image Brightness", "Image Contrast", "Image Gamma",
                      "Image Invert", "Do Image Greyscale", "Do Image Threshold", "Image Threshold",
                      "Do Image Dither", "Image Dither Algorithm"}},
      {"Frame", {"Do Frame", "Solid Left", "Solid Right", "Solid Top", "Solid Bottom", "Solid Left Color",
                 "Solid Right Color", "Solid Top Color", "Solid Bottom Color", "Solid Opacity"}},
      {"Watermark", {"Do Watermark",    "Text",           "Fonts",          "Font",           "Font Size",
                     "Font Leading",    "Font Colors",    "Font Color",     "Font Style",     "Font Effect",
                     "Text Antialiasing", "Text Alignment", "Text Padding", "Text Opacity",   "Back Colors",
                     "Back Color",      "Back Opacity",   "Text Boundary",  "Text Position",  "Text X Offset",
                     "Text Y Offset",   "Text Rotation",  "Text Size",      "Text Scale",     "Image",
                     "Image Greyscale", "Image Opacity",  "Image Boundary", "Image Position", "Image X Offset",
                     "Image Y Offset",  "Image Rotation", "Image Size",     "Image Scale"}},
      {"Advanced", {"Filename Mask", "File Timestamp", "Custom Timestamp", "Out Folders History",
                    "Out Folders Number", "Keep Subfolders", "Metadata"}},
      {"File", {"Recent Out Folders", "Recent Files"}},
      {"Privacy", {"Clean Recent Files"}},
  };
  std::vector<std::string> lines = {""};
  for (const auto& [group, keys] : groups) {
    lines.push_back("[" + group + "]");
    for (const std::string& key : keys) lines.push_back(key + " = ");
    lines.push_back("; ");
  }
  return lines;
}

// The line with its value cut off after " = ", to compare with the layout.
std::vector<std::string> WithoutValues(std::vector<std::string> lines) {
  for (std::string& line : lines) {
    const std::size_t equals = line.find(" = ");
    if (equals != std::string::npos && line[0] != '[' && line[0] != ';') line.resize(equals + 3);
  }
  return lines;
}

TEST(SaveConfiguration, StartsWithMarkEmptyLineAndTheLayoutVersion) {
  TempDir dir;
  Settings settings = WindowedDefaults(dir / "config.ini");
  settings.general.cfg = 7;  // always saved as 19
  ASSERT_TRUE(SaveConfiguration(settings));
  const std::string bytes = ReadFileBytes(settings.configPath);
  EXPECT_EQ(bytes.substr(0, 5), "\xEF\xBB\xBF\r\n");
  EXPECT_EQ(bytes.substr(5, 24), "[General]\r\nCFG = 19\r\nLan");
  EXPECT_EQ(bytes, FormatConfiguration(settings));
}

TEST(SaveConfiguration, WritesGroupsAndKeysInLayoutOrder) {
  for (const bool windowPosition : {true, false}) {
    SCOPED_TRACE(windowPosition ? "window position saved" : "window position not saved");
    Settings settings = WindowedDefaults("");
    settings.general.saveWindowPosition = windowPosition ? 1 : 0;
    const std::string text = FormatConfiguration(settings);
    ASSERT_EQ(text.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_EQ(WithoutValues(CrLfLines(text.substr(3))), ExpectedLayout(windowPosition));
  }
}

TEST(SaveConfiguration, WindowGroupStaysWhenThePositionIsNotSaved) {
  Settings settings = WindowedDefaults("");
  settings.general.saveWindowPosition = 0;
  EXPECT_NE(FormatConfiguration(settings).find("; \r\n[Window]\r\n; \r\n[Interface]\r\n"), std::string::npos);
}

TEST(SaveConfiguration, WritesValuesInTheirFileForm) {
  Settings settings = WindowedDefaults("");
  settings.general.updateDate = 1700000000;
  settings.advanced.outFoldersNumber = -5;
  settings.output.jpgQuality = -70000;
  settings.watermark.text = "\u00A9 caf\u00E9";
  settings.transform.keepAspectRatio = 2;
  const std::vector<std::string> lines = CrLfLines(FormatConfiguration(settings).substr(3));
  const std::vector<std::string> expected = {
      "Update Date = 1700000000", "Out Folders Number = -5", "JPG Quality = -70000", "Image Gamma = 1.000000",
      "Text = \u00A9 caf\u00E9", "Keep Aspect Ratio = 2", "Back Opacity = 1", "Filename Mask = %filename%.%ext%",
      "Format = raw", "Format = bmp", "Width = 510", "X = 100", "Recent Files = "};
  for (const std::string& line : expected) {
    EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
  }
  settings.adjustment.imageGamma = -std::numeric_limits<float>::infinity();
  EXPECT_NE(FormatConfiguration(settings).find("\r\nImage Gamma = -Infinity\r\n"), std::string::npos);
}

// Gives every saved setting a value unlike its default; settings that are never saved keep their defaults.
Settings Changed(Settings settings) {
  int index = 0;
  for (const SettingRow& row : kSettingTable) {
    ++index;
    const bool saved = row.saving.rule != SaveRule::kNever &&
                       !(row.saving.rule == SaveRule::kWithInputGroup && row.saving.format != "raw");
    if (!saved) continue;
    switch (row.type) {
      case SettingType::kInt8: SetSetting(settings, row, std::int32_t{100 + index}); break;
      case SettingType::kInt32: SetSetting(settings, row, std::int32_t{-100000 * index}); break;
      case SettingType::kFloat32: SetSetting(settings, row, 2.25f); break;
      case SettingType::kString: SetSetting(settings, row, "v\u00E9 " + std::to_string(index)); break;
    }
  }
  settings.general.cfg = kConfigurationLayoutVersion;
  return settings;
}

TEST(LoadConfiguration, ReadsBackWhatWasSaved) {
  for (const bool windowPosition : {true, false}) {
    SCOPED_TRACE(windowPosition ? "window position saved" : "window position not saved");
    TempDir dir;
    Settings saved = Changed(WindowedDefaults(dir / "config.ini"));
    saved.general.saveWindowPosition = windowPosition ? 1 : 0;
    ASSERT_TRUE(SaveConfiguration(saved));
    Settings loaded = WindowedDefaults(saved.configPath);
    ASSERT_TRUE(LoadConfiguration(loaded));
    if (!windowPosition) {
      // Not written, so the window placement comes back as the loading fallbacks.
      const Settings defaults = WindowedDefaults("");
      saved.window = defaults.window;
    }
    EXPECT_EQ(loaded, saved);
  }
}

TEST(LoadConfiguration, WithoutAFileGivesTheWindowedDefaults) {
  TempDir dir;
  Settings settings = Changed(WindowedDefaults(dir / "missing/config.ini"));
  EXPECT_FALSE(LoadConfiguration(settings));
  Settings expected = WindowedDefaults(dir / "missing/config.ini");
  expected.general.updateDate = settings.general.updateDate;
  expected.advanced.customTimestamp = settings.advanced.customTimestamp;
  EXPECT_EQ(settings, expected);
  EXPECT_FALSE(std::filesystem::exists(dir / "missing"));

  settings.configPath = dir.path().string();  // a folder is no file
  EXPECT_FALSE(LoadConfiguration(settings));
  EXPECT_EQ(settings.transform.keepAspectRatio, 1);
}

TEST(LoadConfiguration, MissingKeysTakeTheLoadingFallbacks) {
  TempDir dir;
  Settings settings = WindowedDefaults(dir.WriteFile("config.ini", "[General]\r\nCFG = 19\r\n"));
  settings.output.jpgQuality = 1;
  ASSERT_TRUE(LoadConfiguration(settings));
  EXPECT_EQ(settings.window.x, 100);
  EXPECT_EQ(settings.window.y, 100);
  EXPECT_EQ(settings.transform.keepAspectRatio, 1);
  EXPECT_EQ(settings.input.format, "raw");
  EXPECT_EQ(settings.output.format, "bmp");
  EXPECT_EQ(settings.output.jpgQuality, 95);
  EXPECT_EQ(settings.watermark.text, "\u00A9 2026 Tarnwick");
  EXPECT_EQ(settings.watermark.backOpacity, 1);
  EXPECT_NE(settings.general.updateDate, 0);
  EXPECT_EQ(settings.configPath, dir / "config.ini");
}

TEST(LoadConfiguration, ConvertsValuesByTheReadingRules) {
  TempDir dir;
  const std::string text =
      "[general]\nCFG = 19\n"
      "[OUTPUT]\njpg quality = abc\nWEBP Quality = 80abc\nTIFF BPP=\t 24 \t\n"
      "[Advanced]\nOut Folders Number = 300\nFilename Mask = \t %name% \t\n"
      "[Adjustment]\nImage Gamma = NAN\n"
      "[Watermark]\nText = caf\xE9\nDo Watermark = 2\n"
      "[Window]\nHide Passwords = 1\nShow Character Set = 0\n"
      "[File]\nTxtFields = a,b\nCsvDelimiter = ;\n"
      "[Input]\nGIF Frame Loading = 3\n";
  Settings settings = WindowedDefaults(dir.WriteFile("config.ini", text));
  ASSERT_TRUE(LoadConfiguration(settings));
  EXPECT_EQ(settings.output.jpgQuality, 0);
  EXPECT_EQ(settings.output.webpQuality, 80);
  EXPECT_EQ(settings.output.tiffBpp, 24);
  EXPECT_EQ(settings.advanced.outFoldersNumber, 44);
  EXPECT_EQ(settings.advanced.filenameMask, "%name%");
  EXPECT_TRUE(std::isnan(settings.adjustment.imageGamma));
  EXPECT_EQ(settings.watermark.text, "caf\u00E9");
  EXPECT_EQ(settings.watermark.doWatermark, WatermarkKind::kImage);
  // Read although never written.
  EXPECT_EQ(settings.window.hidePasswords, 1);
  EXPECT_EQ(settings.window.showCharacterSet, 0);
  EXPECT_EQ(settings.file.txtFields, "a,b");
  EXPECT_EQ(settings.file.csvDelimiter, ";");
  EXPECT_EQ(settings.input.gifFrameLoading, FrameLoading::kLast);
}

TEST(LoadConfiguration, UpgradesOlderLayouts) {
  struct Case {
    const char* what;
    const char* cfgLine;  // empty: no CFG entry
    const char* mask;
    const char* rawLoadAs;
    const char* psdLines;  // [Input] lines besides RAW Load As
    const char* tiffLines;  // [Output] lines
    std::int32_t cfg;
    const char* expectedMask;
    RawLoadAs expectedRawLoadAs;
    ColorMode expectedPsd, expectedTiff;
  };
  const Case cases[] = {
      {"no CFG: all three", "", "%filename%", "3", "PSD Color Model = 2\n", "TIFF Color Model = 1\n", 0,
       "%filename%.%ext%", RawLoadAs::k48, ColorMode::kLab, ColorMode::kCmyk},
      {"no CFG, new keys present", "", "%filename%", "3", "PSD Color Mode = 1\nPSD Color Model = 2\n",
       "TIFF Color Mode = 2\nTIFF Color Model = 1\n", 0, "%filename%.%ext%", RawLoadAs::k48, ColorMode::kLab,
       ColorMode::kCmyk},
      {"old keys 0 keep the new ones", "CFG = 18", "%n%.%ext%", "0", "PSD Color Mode = 1\nPSD Color Model = 0\n",
       "TIFF Color Mode = 2\n", 18, "%n%.%ext%", RawLoadAs::kAuto, ColorMode::kCmyk, ColorMode::kLab},
      {"mask with %ext% stays", "CFG = 10", "%ext%-%filename%", "0", "", "", 10, "%ext%-%filename%", RawLoadAs::kAuto,
       ColorMode::kRgb, ColorMode::kRgb},
      {"%EXT% is not %ext%", "CFG = 10", "%filename%.%EXT%", "0", "", "", 10, "%filename%.%EXT%.%ext%",
       RawLoadAs::kAuto, ColorMode::kRgb, ColorMode::kRgb},
      {"empty mask gets the extension", "CFG = 0", "", "0", "", "", 0, ".%ext%", RawLoadAs::kAuto, ColorMode::kRgb,
       ColorMode::kRgb},
      {"CFG 11 keeps the mask", "CFG = 11", "%filename%", "3", "", "", 11, "%filename%", RawLoadAs::k48,
       ColorMode::kRgb, ColorMode::kRgb},
      {"CFG 13 keeps RAW 0", "CFG = 13", "%filename%", "0", "", "", 13, "%filename%", RawLoadAs::kAuto, ColorMode::kRgb,
       ColorMode::kRgb},
      {"CFG 13 shifts RAW 1", "CFG = 13", "%filename%", "1", "", "", 13, "%filename%", RawLoadAs::k24, ColorMode::kRgb,
       ColorMode::kRgb},
      {"CFG 13 shifts negative RAW", "CFG = 13", "%filename%", "-1", "", "", 13, "%filename%", RawLoadAs::k8,
       ColorMode::kRgb, ColorMode::kRgb},
      {"CFG 13 wraps at the top", "CFG = 13", "%filename%", "2147483647", "", "", 13, "%filename%",
       static_cast<RawLoadAs>(INT32_MIN + 1), ColorMode::kRgb, ColorMode::kRgb},
      {"CFG 14 keeps RAW", "CFG = 14", "%filename%", "3", "", "", 14, "%filename%", RawLoadAs::k24, ColorMode::kRgb,
       ColorMode::kRgb},
      {"CFG 18 takes the old colour keys", "CFG = 18", "%filename%", "0", "PSD Color Model = 2\n",
       "TIFF Color Model = 1\n", 18, "%filename%", RawLoadAs::kAuto, ColorMode::kLab, ColorMode::kCmyk},
      {"CFG 19 ignores them", "CFG = 19", "%filename%", "3", "PSD Color Model = 2\n", "TIFF Color Model = 1\n", 19,
       "%filename%", RawLoadAs::k24, ColorMode::kRgb, ColorMode::kRgb},
      {"CFG above 19", "CFG = 25", "%filename%", "3", "PSD Color Model = 2\n", "", 25, "%filename%", RawLoadAs::k24,
       ColorMode::kRgb, ColorMode::kRgb},
      {"negative CFG counts as old", "CFG = -4", "%filename%", "3", "", "", -4, "%filename%.%ext%", RawLoadAs::k48,
       ColorMode::kRgb, ColorMode::kRgb},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    const std::string text = std::string("[General]\n") + c.cfgLine + "\n[Advanced]\nFilename Mask = " + c.mask +
                             "\n[Input]\nRAW Load As = " + c.rawLoadAs + "\n" + c.psdLines + "[Output]\n" +
                             c.tiffLines;
    Settings settings = WindowedDefaults(dir.WriteFile("config.ini", text));
    ASSERT_TRUE(LoadConfiguration(settings));
    EXPECT_EQ(settings.general.cfg, c.cfg);  // the value read, not 19
    EXPECT_EQ(settings.advanced.filenameMask, c.expectedMask);
    EXPECT_EQ(settings.input.rawLoadAs, c.expectedRawLoadAs);
    EXPECT_EQ(settings.input.psdColorMode, c.expectedPsd);
    EXPECT_EQ(settings.output.tiffColorMode, c.expectedTiff);
  }
}

TEST(LoadConfiguration, NeverWritesTheFile) {
  TempDir dir;
  const std::string bytes = "[General]\nSave Window Position = 1\n";  // old layout, would be upgraded
  Settings settings = WindowedDefaults(dir.WriteFile("config.ini", bytes));
  const auto before = std::filesystem::last_write_time(settings.configPath);
  ASSERT_TRUE(LoadConfiguration(settings));
  EXPECT_EQ(ReadFileBytes(settings.configPath), bytes);
  EXPECT_EQ(std::filesystem::last_write_time(settings.configPath), before);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(SaveConfiguration, CreatesMissingFoldersAndFailsQuietly) {
  TempDir dir;
  Settings settings = WindowedDefaults(dir / "a/b/config.ini");
  ASSERT_TRUE(SaveConfiguration(settings));
  EXPECT_TRUE(std::filesystem::is_regular_file(settings.configPath));

  dir.WriteFile("plain", "x");
  settings.configPath = dir / "plain/config.ini";  // a file where a folder should be
  EXPECT_FALSE(SaveConfiguration(settings));
  settings.configPath = "";
  EXPECT_FALSE(SaveConfiguration(settings));
}

TEST(ConfigurationFilePath, FollowsTheXdgConfigFolder) {
  struct Case {
    const char* what;
    const char* xdg;
    const char* home;
    std::string expected;
  };
  const Case cases[] = {
      {"XDG_CONFIG_HOME set", "/cfg", "/home/u", "/cfg/Tarnwick/lumivane/config.ini"},
      {"XDG_CONFIG_HOME unset", nullptr, "/home/u", "/home/u/.config/Tarnwick/lumivane/config.ini"},
      {"XDG_CONFIG_HOME empty", "", "/home/u", "/home/u/.config/Tarnwick/lumivane/config.ini"},
      {"XDG_CONFIG_HOME relative", "cfg", "/home/u", "/home/u/.config/Tarnwick/lumivane/config.ini"},
      {"nothing set", nullptr, nullptr, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const ScopedVariable xdg("XDG_CONFIG_HOME", c.xdg);
    const ScopedVariable home("HOME", c.home);
    EXPECT_EQ(ConfigurationFilePath(), c.expected);
  }
}

TEST(ConfigurationFile, TheProcessRecordRoundTripsThroughTheUsersFolder) {
  TempDir dir;
  const ScopedVariable xdg("XDG_CONFIG_HOME", dir.path().c_str());
  const Settings previous = gSettings;
  gSettings = WindowedDefaults("");
  gSettings.output.jpgQuality = 42;
  EXPECT_FALSE(LoadConfiguration());  // nothing saved yet: windowed defaults
  EXPECT_EQ(gSettings.output.jpgQuality, 95);
  EXPECT_EQ(gSettings.configPath, dir / "Tarnwick/lumivane/config.ini");
  gSettings.output.jpgQuality = 42;
  ASSERT_TRUE(SaveConfiguration());
  gSettings.output.jpgQuality = 1;
  ASSERT_TRUE(LoadConfiguration());
  EXPECT_EQ(gSettings.output.jpgQuality, 42);
  gSettings = previous;
}

}  // namespace
}  // namespace lumivane::testing
