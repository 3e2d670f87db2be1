#include "cli/profile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "cli/option_table.h"
#include "settings/settings_table.h"
#include "support/temp_dir.h"

namespace lumivane::testing {
namespace {

using Expectations = std::vector<std::pair<std::string, std::string>>;  // "Group/Key", value as a file writes it

struct ProfileCase {
  const char* name;
  std::string bytes;
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

void RunCases(std::span<const ProfileCase> cases) {
  for (const ProfileCase& c : cases) {
    TempDir dir;
    const std::string path = dir.WriteFile("profile.ini", c.bytes);
    Settings settings = CommandLineDefaults();
    EXPECT_TRUE(ApplyProfile(settings, path)) << c.name;
    for (const auto& [setting, expected] : c.expected) {
      EXPECT_EQ(ValueOf(settings, setting), expected) << c.name << " -> " << setting;
    }
    EXPECT_EQ(ReadFileBytes(path), c.bytes) << c.name << ": the profile was changed";
  }
}

TEST(ApplyProfile, AppliesTheEntriesOfTheCliGroup) {
  const ProfileCase cases[] = {
      {"lower-case group and key", "[cli]\r\n--jpg-quality = 80\r\n", {{"Output/JPG Quality", "80"}}},
      {"opacity by its profile name", "[CLI]\n--wm-solid-opacity = 128\n", {{"Frame/Solid Opacity", "128"}}},
      {"opacity by its command-line name", "[CLI]\n--fr-solid-opacity = 128\n", {{"Frame/Solid Opacity", "255"}}},
      {"edit switched on",
       "[CLI]\n--DITHER = bayer8\n",
       {{"Adjustment/Do Image Dither", "1"}, {"Adjustment/Image Dither Algorithm", "2"}}},
      {"integer rule",
       "[CLI]\n--WM-FONT-SIZE = $20\n--WIDTH = 12px\n",
       {{"Watermark/Font Size", "32"}, {"Transform/Image Width", "12"}, {"Transform/Do Image Resize", "1"}}},
      {"real rule", "[CLI]\n--GAMMA = 2.5\n", {{"Adjustment/Image Gamma", "2.500000"}}},
      {"later entry wins", "[CLI]\n--JPG-QUALITY = 70\n--JPG-QUALITY = 60\n", {{"Output/JPG Quality", "60"}}},
      {"other groups and ungrouped entries ignored",
       "--JPG-QUALITY = 10\n[Output]\nJPG Quality = 20\n--JPG-QUALITY = 30\n[CLI]\n--WEBP-QUALITY = 50\n",
       {{"Output/JPG Quality", "95"}, {"Output/WEBP Quality", "50"}}},
      {"only the first CLI group",
       "[CLI]\n--JPG-QUALITY = 70\n[cli]\n--JPG-QUALITY = 10\n--WEBP-QUALITY = 5\n",
       {{"Output/JPG Quality", "70"}, {"Output/WEBP Quality", "100"}}},
      {"comments and blank lines",
       "; made by hand\n\n[CLI]\n  ; --JPG-QUALITY = 10\n\t--JPG-QUALITY=77\n",
       {{"Output/JPG Quality", "77"}}},
      {"UTF-8 with its mark", "\xEF\xBB\xBF[CLI]\r\n--WM-TEXT = caf\xC3\xA9\r\n", {{"Watermark/Text", "caf\xC3\xA9"}}},
      {"ISO-8859-1 without the mark", "[CLI]\n--WM-TEXT = caf\xE9\n", {{"Watermark/Text", "caf\xC3\xA9"}}},
  };
  RunCases(cases);
}

TEST(ApplyProfile, FlagsAreSetByPresenceAndEmptyValuesGiveZero) {
  const ProfileCase cases[] = {
      {"flag with 0", "[CLI]\n--GREYSCALE = 0\n", {{"Adjustment/Do Image Greyscale", "1"}}},
      {"flag without =",
       "[CLI]\r\n--NO-SUBFOLDERS\r\n--PNG-INTERLACED\r\n",
       {{"Advanced/Keep Subfolders", "0"}, {"Output/PNG Interlaced", "1"}}},
      {"empty integer", "[CLI]\n--WM-TEXT-OPACITY =\n", {{"Watermark/Text Opacity", "0"}}},
      {"empty real",
       "[CLI]\n--GAMMA = \n",
       {{"Adjustment/Image Gamma", "0.000000"}, {"Adjustment/Do Image Color Correction", "1"}}},
      {"empty keyword", "[CLI]\n--WM-TEXT-POSITION =\n", {{"Watermark/Text Position", "0"}}},
      {"empty text", "[CLI]\n--WM-FONT =\n", {{"Watermark/Font", ""}}},
      {"empty text still switches its edit on",
       "[CLI]\n--WM-TEXT =\n",
       {{"Watermark/Text", ""}, {"Watermark/Do Watermark", "1"}}},
  };
  RunCases(cases);
}

TEST(ApplyProfile, TextIsTrimmedAndOnlyTheMaskIsQuoteTrimmed) {
  const ProfileCase cases[] = {
      {"blanks trimmed", "[CLI]\n--WM-FONT =    DejaVu Sans   \n", {{"Watermark/Font", "DejaVu Sans"}}},
      {"quotes kept in other texts", "[CLI]\n--WM-TEXT = \"Hello\"\n", {{"Watermark/Text", "\"Hello\""}}},
      {"mask keeps blanks inside quotes",
       "[CLI]\n--FILENAME-MASK = \" small %filename%.%ext% \"\n",
       {{"Advanced/Filename Mask", " small %filename%.%ext% "}}},
      {"mask without quotes",
       "[CLI]\n--FILENAME-MASK = %n%_%filename%.%ext%\n",
       {{"Advanced/Filename Mask", "%n%_%filename%.%ext%"}}},
  };
  RunCases(cases);
}

TEST(ApplyProfile, SkipsRunOptionsAndUnknownKeys) {
  TempDir dir;
  const std::string bytes =
      "[CLI]\n--INPUT = x.raw\n--OUTPUT = out\n--CONVERSION = png\n--DEBUG\n--QUIET\n--PAUSE\n"
      "--PROFILE = other.ini\n-q\n--JPG-QUALITYX = 1\nJPG-QUALITY = 1\n--WM-SOLID-OPACITYX = 3\n";
  const std::string path = dir.WriteFile("p.ini", bytes);
  const Settings before = CommandLineDefaults();
  Settings settings = before;
  EXPECT_TRUE(ApplyProfile(settings, path));
  EXPECT_TRUE(settings == before);
}

TEST(ApplyProfile, AcceptsFilesWithoutCliGroupAndRefusesUnreadableOnes) {
  TempDir dir;
  const Settings before = CommandLineDefaults();
  struct Case {
    const char* name;
    std::string path;
    bool accepted;
  };
  const Case cases[] = {
      {"no CLI group", dir.WriteFile("other.ini", "[Output]\nJPG Quality = 5\n"), true},
      {"empty file", dir.WriteFile("empty.ini", ""), true},
      {"empty path", "", false},
      {"missing file", dir / "missing.ini", false},
      {"a folder", dir.path().string(), false},
  };
  for (const Case& c : cases) {
    Settings settings = before;
    EXPECT_EQ(ApplyProfile(settings, c.path), c.accepted) << c.name;
    EXPECT_TRUE(settings == before) << c.name;
  }
}

TEST(ApplyProfile, SurvivesHostileFilesWithoutChangingThem) {
  std::string garbage;
  for (int i = 0; i < 70000; ++i) garbage += static_cast<char>((i * 7919 + i / 13) & 0xFF);
  const std::string megabyteLine = "[CLI]\n--WM-TEXT = " + std::string(1 << 20, 'x') + "\n--JPG-QUALITY = 42";
  const std::string hugeKey = "[CLI]\n" + std::string(1 << 20, '-') + " = 1\n--WEBP-QUALITY=9";
  const std::string binaryInCli = "[CLI]\n--WM-TEXT = a\x01\x02\x7F" + std::string("\0b", 2) + "\n--JPG-QUALITY=33";
  struct Case {
    const char* name;
    std::string bytes;
    Expectations expected;
  };
  const Case cases[] = {
      {"binary garbage", garbage, {}},
      {"megabyte line, no final newline",
       megabyteLine,
       {{"Output/JPG Quality", "42"}, {"Watermark/Text", std::string(1 << 20, 'x')}}},
      {"megabyte key", hugeKey, {{"Output/WEBP Quality", "9"}}},
      {"control bytes in a value", binaryInCli, {{"Output/JPG Quality", "33"}}},
      {"lone CR line ends", "[CLI]\r--JPG-QUALITY = 12\r--PNG-INTERLACED\r", {{"Output/JPG Quality", "12"}}},
      {"header without ]", "[CLI\n--JPG-QUALITY = 13", {{"Output/JPG Quality", "13"}}},
  };
  for (const Case& c : cases) {
    TempDir dir;
    const std::string path = dir.WriteFile("hostile.ini", c.bytes);
    Settings settings = CommandLineDefaults();
    EXPECT_TRUE(ApplyProfile(settings, path)) << c.name;
    for (const auto& [setting, expected] : c.expected) {
      EXPECT_EQ(ValueOf(settings, setting), expected) << c.name << " -> " << setting;
    }
    EXPECT_EQ(ReadFileBytes(path), c.bytes) << c.name << ": the profile was changed";
  }
}

TEST(ApplyProfile, TakesARelativePathFromTheCurrentFolder) {
  TempDir dir;
  dir.WriteFile("here.ini", "[CLI]\n--JPG-QUALITY = 61\n");
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  Settings settings = CommandLineDefaults();
  const bool accepted = ApplyProfile(settings, "here.ini");
  std::filesystem::current_path(previous);
  EXPECT_TRUE(accepted);
  EXPECT_EQ(settings.output.jpgQuality, 61);
}

// A profile applied at its place on the line overwrites what came before and is overwritten by what follows.
TEST(ApplyProfile, LastWriterWinsBetweenProfileAndCommandLine) {
  TempDir dir;
  const std::string path = dir.WriteFile("p.ini", "[CLI]\n--JPG-QUALITY = 80\n");

  Settings profileFirst = CommandLineDefaults();
  ASSERT_TRUE(ApplyProfile(profileFirst, path));
  ApplyAdvancedOption(profileFirst, "--JPG-QUALITY", "70");
  EXPECT_EQ(profileFirst.output.jpgQuality, 70);

  Settings optionFirst = CommandLineDefaults();
  ApplyAdvancedOption(optionFirst, "--JPG-QUALITY", "70");
  ASSERT_TRUE(ApplyProfile(optionFirst, path));
  EXPECT_EQ(optionFirst.output.jpgQuality, 80);
}

}  // namespace
}  // namespace lumivane::testing
