#include "cli/option_table.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "settings/settings_table.h"

namespace lumivane::testing {
namespace {

using Parameters = std::vector<std::pair<std::string, std::string>>;    // option name, value as the scan read it
using Expectations = std::vector<std::pair<std::string, std::string>>;  // "Group/Key", value as a file writes it

struct CommandLineCase {
  Parameters parameters;
  Expectations expected;
};

Settings CommandLineDefaults() {
  Settings settings;
  ResetSettings(settings, /*commandLine=*/true);
  return settings;
}

std::string ValueOf(const Settings& settings, const std::string& setting) {
  const SettingRow* row = FindSetting(setting);
  return row == nullptr ? "<no such setting>" : FormatSetting(settings, *row);
}

std::string Describe(const Parameters& parameters) {
  std::string text;
  for (const auto& [name, value] : parameters) text += name + (value.empty() ? "" : "=" + value) + " ";
  return text;
}

void RunCases(std::span<const CommandLineCase> cases) {
  for (const CommandLineCase& c : cases) {
    Settings settings = CommandLineDefaults();
    for (const auto& [name, value] : c.parameters) ApplyAdvancedOption(settings, name, value);
    for (const auto& [setting, expected] : c.expected) {
      EXPECT_EQ(ValueOf(settings, setting), expected) << Describe(c.parameters) << "-> " << setting;
    }
  }
}

TEST(ApplyAdvancedOption, EditOptionsSwitchTheirEditOn) {
  const CommandLineCase cases[] = {
      {{{"--DITHER", "bayer8"}}, {{"Adjustment/Do Image Dither", "1"}, {"Adjustment/Image Dither Algorithm", "2"}}},
      {{{"--DITHER", "sepia"}}, {{"Adjustment/Do Image Dither", "1"}, {"Adjustment/Image Dither Algorithm", "0"}}},
      {{{"--WIDTH", "50"}, {"--WIDTH-UNIT", "percent"}},
       {{"Transform/Do Image Resize", "1"},
        {"Transform/Image Width", "50"},
        {"Transform/Image Width Unit", "1"},
        {"Transform/Image Height", "0"}}},
      {{{"--HEIGHT", "30px"}}, {{"Transform/Do Image Resize", "1"}, {"Transform/Image Height", "30"}}},
      {{{"--ROTATION", "90"}}, {{"Transform/Do Image Rotation", "1"}, {"Transform/Image Rotation", "90"}}},
      {{{"--GAMMA", "1,5"}}, {{"Adjustment/Image Gamma", "1.000000"}, {"Adjustment/Do Image Color Correction", "1"}}},
      {{{"--GAMMA", "2.2"}}, {{"Adjustment/Image Gamma", "2.200000"}, {"Adjustment/Do Image Color Correction", "1"}}},
      {{{"--BRIGHTNESS", "-20"}},
       {{"Adjustment/Image Brightness", "-20"}, {"Adjustment/Do Image Color Correction", "1"}}},
      {{{"--CONTRAST", "$10"}}, {{"Adjustment/Image Contrast", "16"}, {"Adjustment/Do Image Color Correction", "1"}}},
      {{{"--INVERT", ""}}, {{"Adjustment/Image Invert", "1"}, {"Adjustment/Do Image Color Correction", "1"}}},
      {{{"--THRESHOLD", "%1000"}}, {{"Adjustment/Image Threshold", "8"}, {"Adjustment/Do Image Threshold", "1"}}},
      {{{"--FR-SOLID-LEFT", "5"}}, {{"Frame/Solid Left", "5"}, {"Frame/Do Frame", "1"}}},
      {{{"--FR-SOLID-BOTTOM", "7"}}, {{"Frame/Solid Bottom", "7"}, {"Frame/Do Frame", "1"}}},
      {{{"--FR-SOLID-TOP-COLOR", "FF0000"}}, {{"Frame/Solid Top Color", "FF0000"}, {"Frame/Do Frame", "0"}}},
      {{{"--WM-TEXT", "Hi"}, {"--WM-IMAGE", "logo.png"}},
       {{"Watermark/Do Watermark", "2"}, {"Watermark/Text", "Hi"}, {"Watermark/Image", "logo.png"}}},
      {{{"--WM-IMAGE", "logo.png"}, {"--WM-TEXT", "Hi"}},
       {{"Watermark/Do Watermark", "1"}, {"Watermark/Text", "Hi"}, {"Watermark/Image", "logo.png"}}},
  };
  RunCases(cases);
}

TEST(ApplyAdvancedOption, FlagsStoreTheirFixedNumberWhateverTheValue) {
  const CommandLineCase cases[] = {
      {{{"--PNG-INTERLACED", "0"}}, {{"Output/PNG Interlaced", "1"}}},
      {{{"--PNG-INTERLACED", ""}}, {{"Output/PNG Interlaced", "1"}}},
      {{{"--NO-SUBFOLDERS", ""}}, {{"Advanced/Keep Subfolders", "0"}}},
      {{{"--NO-SUBFOLDERS", "1"}}, {{"Advanced/Keep Subfolders", "0"}}},
      {{{"--GREYSCALE", "no"}}, {{"Adjustment/Do Image Greyscale", "1"}}},
      {{{"--KEEP-ASPECT-RATIO", ""}}, {{"Transform/Keep Aspect Ratio", "1"}}},
      {{{"--FLIP-HORIZONTAL", ""}}, {{"Transform/Do Image Flip Horizontal", "1"}}},
      {{{"--FLIP-VERTICAL", ""}}, {{"Transform/Do Image Flip Vertical", "1"}}},
      {{{"--WM-TEXT-ANTIALIASING", ""}}, {{"Watermark/Text Antialiasing", "1"}}},
      {{{"--WM-IMAGE-GREYSCALE", ""}}, {{"Watermark/Image Greyscale", "1"}}},
  };
  RunCases(cases);
}

TEST(ApplyAdvancedOption, KeywordsAreCaseInsensitiveAndUnknownOnesStoreZero) {
  const CommandLineCase cases[] = {
      {{{"--WM-FONT-EFFECT", "strikethrough"}}, {{"Watermark/Font Effect", "0"}}},
      {{{"--WM-FONT-EFFECT", "StrikeThrought"}}, {{"Watermark/Font Effect", "2"}}},
      {{{"--BMP-COMPRESSION", "LZW"}}, {{"Output/BMP Compression", "6"}}},
      {{{"--TIFF-COMPRESSION", "lzw"}, {"--TIFF-COLOR-MODE", "cmyk"}},
       {{"Output/TIFF Compression", "6"}, {"Output/TIFF Color Mode", "1"}}},
      {{{"--EXR-COMPRESSION", "b44"}}, {{"Output/EXR Compression", "4"}}},
      {{{"--PNG-COMPRESSION", "zlib6"}}, {{"Output/PNG Compression", "2"}}},
      {{{"--JPG-CHROMA", "medium"}, {"--JPG-SAVE-AS", "progressive"}},
       {{"Output/JPG Chroma", "2"}, {"Output/JPG Save As", "3"}}},
      {{{"--RAW-LOAD-AS", "48hs"}}, {{"Input/RAW Load As", "4"}}},
      {{{"--RAW-TONE-MAPPING", "bogus"}}, {{"Input/RAW Tone Mapping", "0"}}},
      {{{"--WM-TEXT-SIZE", "scaled"}}, {{"Watermark/Text Size", "0"}}},
      {{{"--WM-IMAGE-POSITION", " topleft "}}, {{"Watermark/Image Position", "0"}}},
      {{{"--WM-TEXT-POSITION", "middlecenter"}}, {{"Watermark/Text Position", "4"}}},
      {{{"--RESIZE-ALGORITHM", "lanczos"}}, {{"Transform/Image Resize Algorithm", "5"}}},
      {{{"--FILE-TIMESTAMP", "custom"}, {"--FILE-TIMESTAMP-CUSTOM", "86400"}},
       {{"Advanced/File Timestamp", "2"}, {"Advanced/Custom Timestamp", "86400"}}},
  };
  RunCases(cases);
}

TEST(ApplyAdvancedOption, FrameOpacityHasItsCommandLineNameOnly) {
  const CommandLineCase cases[] = {
      {{{"--FR-SOLID-OPACITY", "128"}}, {{"Frame/Solid Opacity", "128"}, {"Frame/Do Frame", "0"}}},
      {{{"--WM-SOLID-OPACITY", "128"}}, {{"Frame/Solid Opacity", "255"}}},
  };
  RunCases(cases);
}

TEST(ApplyAdvancedOption, TextIsQuoteTrimmedAndKeptOtherwise) {
  const CommandLineCase cases[] = {
      {{{"--WM-TEXT", "\"Hello world\""}}, {{"Watermark/Text", "Hello world"}}},
      {{{"--WM-TEXT", " spaced "}}, {{"Watermark/Text", " spaced "}}},
      {{{"--FILENAME-MASK", "\"\"%filename%_small.%ext%\""}}, {{"Advanced/Filename Mask", "%filename%_small.%ext%"}}},
      {{{"--WM-FONT", "DejaVu Sans"}}, {{"Watermark/Font", "DejaVu Sans"}}},
      {{{"--WM-TEXT", "caf\xC3\xA9"}}, {{"Watermark/Text", "caf\xC3\xA9"}}},
      {{{"--ROTATION-BACK-COLOR", "ffffff"}}, {{"Transform/Image Rotation Back Color", "ffffff"}}},
  };
  RunCases(cases);
}

TEST(ApplyAdvancedOption, NamesMatchInAnyCaseAndUnknownNamesChangeNothing) {
  Settings settings = CommandLineDefaults();
  ApplyAdvancedOption(settings, "--jpg-quality", "80");
  EXPECT_EQ(settings.output.jpgQuality, 80);

  const Settings before = settings;
  for (const char* name : {"--JPG-QUALITYX", "--PROFILE", "--INPUT", "-Q", "JPG-QUALITY", "", "--WM-SOLID-OPACITY"}) {
    ApplyAdvancedOption(settings, name, "12");
  }
  EXPECT_TRUE(settings == before);
}

TEST(ApplyAdvancedOption, LastOccurrenceWins) {
  Settings settings = CommandLineDefaults();
  ApplyAdvancedOption(settings, "--JPG-QUALITY", "70");
  ApplyAdvancedOption(settings, "--JPG-QUALITY", "90");
  EXPECT_EQ(settings.output.jpgQuality, 90);
}

TEST(ApplyAdvancedOption, GammaIsStoredAsSinglePrecision) {
  Settings settings = CommandLineDefaults();
  ApplyAdvancedOption(settings, "--GAMMA", "2.2");
  EXPECT_EQ(settings.adjustment.imageGamma, 2.2f);
  ApplyAdvancedOption(settings, "--GAMMA", "-Infinity");
  EXPECT_EQ(settings.adjustment.imageGamma, -std::numeric_limits<float>::infinity());
}

}  // namespace
}  // namespace lumivane::testing
