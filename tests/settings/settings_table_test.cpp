#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include "settings/settings.h"
#include "settings/settings_table.h"

namespace lumivane::testing {
namespace {

// Other tables can check their targets at compile time.
static_assert(IsSettingName("Output/JPG Quality"));
static_assert(!IsSettingName("output/jpg quality"));
static_assert(SettingIndex("General/CFG") == 0);
static_assert(SettingIndex("Privacy", "Clean Recent Files") == kSettingTable.size() - 1);
static_assert(FindSetting("Output/JPG Quality")->type == SettingType::kInt32);
static_assert(FindSetting("Transform/Keep Aspect Ratio")->type == SettingType::kInt8);
static_assert(FindSetting("Adjustment/Image Gamma")->type == SettingType::kFloat32);
static_assert(FindSetting("Transform/Image Rotation Back Color")->type == SettingType::kString);
static_assert(FindSetting("Output/JPG Quality Typo") == nullptr);
static_assert(SettingIndex("Output/JPG Quality Typo") == kNoSetting);

TEST(FindSetting, MatchesTheExactGroupAndKey) {
  struct Case {
    const char* name;
    bool found;
  };
  const Case cases[] = {
      {"General/CFG", true},         {"Window/IsMaximized", true},       {"Watermark/Text X Offset", true},
      {"Privacy/Clean Recent Files", true}, {"output/jpg quality", false}, {"Output/JPG  Quality", false},
      {"Output", false},             {"/JPG Quality", false},            {"", false},
      {"JPG Quality", false},        {"Output/JPG Quality/", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const SettingRow* row = FindSetting(c.name);
    EXPECT_EQ(row != nullptr, c.found);
    if (row != nullptr) EXPECT_EQ(SettingName(*row), c.name);
  }
  EXPECT_EQ(FindSetting("Output", "JPG Quality"), FindSetting("Output/JPG Quality"));
}

// Where a row writes in the record: the offset of the first byte that changes when the row's setter stores a
// value other than the one its getter reads; -1 when nothing changes or the getter does not read the new value.
std::ptrdiff_t OffsetWrittenBy(const SettingRow& row) {
  Settings settings;
  const auto* bytes = reinterpret_cast<const unsigned char*>(&settings);
  const std::vector<unsigned char> before(bytes, bytes + sizeof settings);
  const SettingAccess& access = row.access;
  switch (row.type) {
    case SettingType::kInt8:
    case SettingType::kInt32: {
      const std::int32_t value = access.number(settings) + 1;
      access.setNumber(settings, value);
      if (access.number(settings) != value) return -1;
      break;
    }
    case SettingType::kFloat32: {
      const float value = access.real(settings) + 1.0f;
      access.setReal(settings, value);
      if (access.real(settings) != value) return -1;
      break;
    }
    case SettingType::kString: {
      const std::string value = access.text(settings) + "x";
      access.setText(settings, value);
      if (access.text(settings) != value) return -1;
      break;
    }
  }
  for (std::size_t i = 0; i < before.size(); ++i) {
    if (bytes[i] != before[i]) return static_cast<std::ptrdiff_t>(i);
  }
  return -1;
}

// A row has the getter and setter of its type and no others.
TEST(SettingTable, RowsAccessTheirFieldsByTheirType) {
  for (const SettingRow& row : kSettingTable) {
    SCOPED_TRACE(SettingName(row));
    const bool number = row.type == SettingType::kInt8 || row.type == SettingType::kInt32;
    const bool real = row.type == SettingType::kFloat32;
    const bool text = row.type == SettingType::kString;
    EXPECT_EQ(row.access.number != nullptr, number);
    EXPECT_EQ(row.access.setNumber != nullptr, number);
    EXPECT_EQ(row.access.real != nullptr, real);
    EXPECT_EQ(row.access.setReal != nullptr, real);
    EXPECT_EQ(row.access.text != nullptr, text);
    EXPECT_EQ(row.access.setText != nullptr, text);
  }
}

// Each row must reach its own field: fields are declared in table order, so the places the rows write rise
// strictly through one record. A row wired to a neighbour's field breaks the order or repeats a place.
TEST(SettingTable, RowsReachDistinctFieldsInRecordOrder) {
  Settings settings;
  const auto* base = reinterpret_cast<const unsigned char*>(&settings);
  std::ptrdiff_t previous = reinterpret_cast<const unsigned char*>(&settings.configPath) - base;
  for (const SettingRow& row : kSettingTable) {
    SCOPED_TRACE(SettingName(row));
    const std::ptrdiff_t offset = OffsetWrittenBy(row);
    EXPECT_GT(offset, previous);
    EXPECT_LT(offset, static_cast<std::ptrdiff_t>(sizeof settings));
    previous = offset;
  }
}

TEST(SettingTable, RowsReachTheNamedFields) {
  Settings settings;
  const auto* base = reinterpret_cast<const unsigned char*>(&settings);
  struct Case {
    const char* name;
    const void* field;
    std::size_t size;
  };
#define LUMIVANE_FIELD(member) &settings.member, sizeof settings.member
  const Case cases[] = {
      {"General/CFG", LUMIVANE_FIELD(general.cfg)},
      {"Window/X", LUMIVANE_FIELD(window.x)},
      {"Input/RAW Load As", LUMIVANE_FIELD(input.rawLoadAs)},
      {"Output/JPG Quality", LUMIVANE_FIELD(output.jpgQuality)},
      {"Output/BMP BPP", LUMIVANE_FIELD(output.bmpBpp)},
      {"Output/PNG Interlaced", LUMIVANE_FIELD(output.pngInterlaced)},
      {"Transform/Image Rotation Back Color", LUMIVANE_FIELD(transform.imageRotationBackColor)},
      {"Adjustment/Image Gamma", LUMIVANE_FIELD(adjustment.imageGamma)},
      {"Frame/Solid Opacity", LUMIVANE_FIELD(frame.solidOpacity)},
      {"Watermark/Text X Offset", LUMIVANE_FIELD(watermark.textXOffset)},
      {"Watermark/Image Scale", LUMIVANE_FIELD(watermark.imageScale)},
      {"Advanced/Out Folders Number", LUMIVANE_FIELD(advanced.outFoldersNumber)},
      {"Privacy/Clean Recent Files", LUMIVANE_FIELD(privacy.cleanRecentFiles)},
  };
#undef LUMIVANE_FIELD
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const SettingRow* row = FindSetting(c.name);
    ASSERT_NE(row, nullptr);
    const std::ptrdiff_t start = static_cast<const unsigned char*>(c.field) - base;
    const std::ptrdiff_t written = OffsetWrittenBy(*row);
    EXPECT_GE(written, start);
    EXPECT_LT(written, start + static_cast<std::ptrdiff_t>(c.size));
  }
}

TEST(SettingTable, GroupsComeInPreferencesFileOrder) {
  std::vector<std::string> groups;
  for (const SettingRow& row : kSettingTable) {
    if (groups.empty() || groups.back() != row.group) groups.emplace_back(row.group);
  }
  const std::vector<std::string> expected = {"General",    "Window", "Interface", "Input",    "Output", "Transform",
                                             "Adjustment", "Frame",  "Watermark", "Advanced", "File",   "Privacy"};
  EXPECT_EQ(groups, expected);
}

TEST(SetSetting, Int8FieldsKeepTheLowEightBits) {
  const SettingRow& row = *FindSetting("Advanced/Out Folders Number");
  struct Case {
    std::int32_t stored;
    std::int8_t kept;
  };
  const Case cases[] = {{5, 5}, {300, 44}, {127, 127}, {128, -128}, {255, -1}, {256, 0}, {-1, -1}, {-129, 127},
                        {INT32_MIN, 0}, {INT32_MAX, -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    Settings settings;
    EXPECT_TRUE(SetSetting(settings, row, c.stored));
    EXPECT_EQ(settings.advanced.outFoldersNumber, c.kept);
    std::int32_t read = 0;
    EXPECT_TRUE(GetSetting(settings, row, read));
    EXPECT_EQ(read, c.kept);
  }
}

TEST(SetSetting, RefusesAValueOfAnotherType) {
  Settings settings;
  const SettingRow& quality = *FindSetting("Output/JPG Quality");
  const SettingRow& gamma = *FindSetting("Adjustment/Image Gamma");
  const SettingRow& mask = *FindSetting("Advanced/Filename Mask");
  EXPECT_FALSE(SetSetting(settings, quality, 2.5f));
  EXPECT_FALSE(SetSetting(settings, quality, std::string_view("80")));
  EXPECT_FALSE(SetSetting(settings, gamma, std::int32_t{2}));
  EXPECT_FALSE(SetSetting(settings, mask, std::int32_t{2}));
  EXPECT_EQ(settings, Settings{});

  std::string text = "unchanged";
  float real = 7.0f;
  EXPECT_FALSE(GetSetting(settings, quality, text));
  EXPECT_FALSE(GetSetting(settings, quality, real));
  EXPECT_EQ(text, "unchanged");
  EXPECT_EQ(real, 7.0f);
  EXPECT_EQ(quality.access.real, nullptr);
  EXPECT_EQ(quality.access.text, nullptr);
  settings.output.jpgQuality = 42;
  EXPECT_EQ(quality.access.number(settings), 42);
}

TEST(SetSetting, StoresEachType) {
  Settings settings;
  EXPECT_TRUE(SetSetting(settings, *FindSetting("Output/JPG Quality"), std::int32_t{-70000}));
  EXPECT_TRUE(SetSetting(settings, *FindSetting("Adjustment/Image Gamma"), 2.2f));
  EXPECT_TRUE(SetSetting(settings, *FindSetting("Watermark/Text"), std::string_view("Hi \u00E9")));
  EXPECT_EQ(settings.output.jpgQuality, -70000);
  EXPECT_EQ(settings.adjustment.imageGamma, 2.2f);
  EXPECT_EQ(settings.watermark.text, "Hi \u00E9");
}

TEST(SetSettingFromText, ConvertsByTheRowType) {
  struct Case {
    const char* name;
    const char* text;
    std::string formatted;  // read back in preferences-file form
  };
  const Case cases[] = {
      {"Output/JPG Quality", "80abc", "80"},
      {"Output/JPG Quality", "abc", "0"},
      {"Output/JPG Quality", "-12", "-12"},
      {"Advanced/Out Folders Number", "300", "44"},
      {"Advanced/Out Folders Number", "200", "-56"},
      {"Watermark/Do Watermark", "2", "2"},
      {"Adjustment/Image Gamma", "2.5", "2.500000"},
      {"Adjustment/Image Gamma", "1,5", "1.000000"},
      {"Adjustment/Image Gamma", "-infinity", "-Infinity"},
      {"Adjustment/Image Gamma", "NAN", "NaN"},
      {"Watermark/Font", "Liberation Sans", "Liberation Sans"},
      {"Watermark/Font", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " = " + c.text);
    Settings settings;
    const SettingRow& row = *FindSetting(c.name);
    SetSettingFromText(settings, row, c.text);
    EXPECT_EQ(FormatSetting(settings, row), c.formatted);
  }
}

TEST(SetSettingDefault, StoresTheRowDefault) {
  Settings settings;
  SetSettingDefault(settings, *FindSetting("Watermark/Back Opacity"));
  SetSettingDefault(settings, *FindSetting("Adjustment/Image Gamma"));
  SetSettingDefault(settings, *FindSetting("Watermark/Font"));
  SetSettingDefault(settings, *FindSetting("Transform/Image Resize Algorithm"));
  EXPECT_EQ(settings.watermark.backOpacity, 1);
  EXPECT_EQ(settings.adjustment.imageGamma, 1.0f);
  EXPECT_EQ(settings.watermark.font, "Arial");
  EXPECT_EQ(settings.transform.imageResizeAlgorithm, ResizeAlgorithm::kBicubic);
}

}  // namespace
}  // namespace lumivane::testing
