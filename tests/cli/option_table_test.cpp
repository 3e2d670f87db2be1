#include "cli/option_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "platform/ascii_text.h"
#include "formats/registry.h"
#include "settings/settings_table.h"

namespace lumivane::testing {
namespace {

bool IsRowOfSettingTable(const SettingRow* row) {
  return row != nullptr && std::any_of(kSettingTable.begin(), kSettingTable.end(),
                                       [row](const SettingRow& candidate) { return &candidate == row; });
}

std::ptrdiff_t PositionOf(std::string_view name) {
  const auto table = OptionTable();
  const auto found =
      std::find_if(table.begin(), table.end(), [name](const OptionRow& row) { return row.name == name; });
  return found == table.end() ? -1 : found - table.begin();
}

TEST(OptionTable, NamesAreUniqueAndEveryTargetIsASetting) {
  std::set<std::string_view> names;
  for (const OptionRow& row : OptionTable()) {
    EXPECT_TRUE(names.insert(row.name).second) << "duplicate " << row.name;
    EXPECT_EQ(row.name.substr(0, 2), "--") << row.name;
    EXPECT_EQ(AsciiUpper(row.name), row.name);
    EXPECT_TRUE(IsRowOfSettingTable(row.target)) << row.name;
    if (row.also != nullptr) {
      EXPECT_TRUE(IsRowOfSettingTable(row.also)) << row.name;
      EXPECT_EQ(row.also->type, SettingType::kInt8) << row.name;
    }
  }
  EXPECT_EQ(OptionTable().size(), 107u);
}

// Settings of the groups that options serve, other than these, must each be reachable by some option.
TEST(OptionTable, ReachesEveryRunSettingExceptTheListedOnes) {
  const std::set<std::string> unreachable = {"Input/Format",
                                             "Output/Format",
                                             "Watermark/Text Scale",
                                             "Watermark/Image Scale",
                                             "Watermark/Fonts",
                                             "Watermark/Font Colors",
                                             "Watermark/Back Colors",
                                             "Advanced/Out Folders History",
                                             "Advanced/Out Folders Number"};
  const std::set<std::string_view> groups = {"Input", "Output",    "Transform", "Adjustment",
                                             "Frame", "Watermark", "Advanced"};
  std::set<const SettingRow*> reached;
  for (const OptionRow& row : OptionTable()) {
    reached.insert(row.target);
    if (row.also != nullptr) reached.insert(row.also);
  }
  for (const SettingRow& setting : kSettingTable) {
    const std::string name = SettingName(setting);
    const bool expectReached = groups.count(setting.group) != 0 && unreachable.count(name) == 0;
    EXPECT_EQ(reached.count(&setting) != 0, expectReached) << name;
  }
}

TEST(OptionTable, EachBitDepthOptionStandsJustBeforeTheOtherOptionsOfItsFormat) {
  std::ptrdiff_t previous = -1;
  for (const std::string& format : OutputFormatList()) {
    const std::string upper = AsciiUpper(format);
    const std::ptrdiff_t bpp = PositionOf("--" + upper + "-BPP");
    ASSERT_GE(bpp, 0) << format;
    EXPECT_EQ(SettingName(*OptionTable()[static_cast<std::size_t>(bpp)].target), "Output/" + upper + " BPP");
    EXPECT_GT(bpp, previous) << format << " bit depth out of format order";
    previous = bpp;
    // Every other encoder option of the format follows it directly.
    std::ptrdiff_t expected = bpp + 1;
    for (std::ptrdiff_t i = 0; i < static_cast<std::ptrdiff_t>(OptionTable().size()); ++i) {
      const OptionRow& row = OptionTable()[static_cast<std::size_t>(i)];
      if (i == bpp || row.target->group != "Output" || !row.name.starts_with("--" + upper + "-")) continue;
      EXPECT_EQ(i, expected++) << row.name;
    }
  }
  EXPECT_EQ(OutputFormatList().size(), 23u);
}

TEST(OptionTable, FrameOpacityIsNamedDifferentlyOnTheCommandLineAndInProfiles) {
  const OptionRow* commandLine = FindOption("--FR-SOLID-OPACITY", false);
  const OptionRow* profile = FindOption("--WM-SOLID-OPACITY", true);
  ASSERT_NE(commandLine, nullptr);
  ASSERT_NE(profile, nullptr);
  EXPECT_EQ(commandLine->target, profile->target);
  EXPECT_EQ(SettingName(*profile->target), "Frame/Solid Opacity");
  EXPECT_EQ(FindOption("--FR-SOLID-OPACITY", true), nullptr);
  EXPECT_EQ(FindOption("--WM-SOLID-OPACITY", false), nullptr);
}

TEST(FindOption, MatchesWholeNamesInAnyCase) {
  struct Case {
    const char* name;
    bool fromProfile;
    bool found;
  };
  const Case cases[] = {
      {"--jpg-quality", false, true},
      {"--JPG-QUALITY", true, true},
      {"--Jpg-Quality", false, true},
      {"--JPG-QUALIT", false, false},
      {"--JPG-QUALITY ", false, false},
      {"JPG-QUALITY", false, false},
      {"--PROFILE", true, false},
      {"--INPUT", true, false},
      {"--OUTPUT", true, false},
      {"--CONVERSION", true, false},
      {"--DEBUG", true, false},
      {"--QUIET", true, false},
      {"--PAUSE", true, false},
      {"", false, false},
      {"--", false, false},
      {"--no-subfolders", true, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindOption(c.name, c.fromProfile) != nullptr, c.found)
        << "\"" << c.name << "\" from " << (c.fromProfile ? "profile" : "command line");
  }
  const OptionRow* greyscale = FindOption("--greyscale", false);
  ASSERT_NE(greyscale, nullptr);
  EXPECT_EQ(greyscale->kind, ValueKind::kFlag);
  EXPECT_EQ(FindOption("--WM-TEXT", false)->kind, ValueKind::kText);
}

}  // namespace
}  // namespace lumivane::testing
