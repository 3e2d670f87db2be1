#include "pipeline/watermark_text.h"

#include <gtest/gtest.h>

namespace lumivane::testing {
namespace {

using Lines = std::vector<std::string>;

TEST(SplitWatermarkLines, MarkerInAnyLetterCase) {
  const struct {
    const char* text;
    Lines lines;
    bool hasMarker;
  } cases[] = {
      {"Hello", {"Hello"}, false},
      {"", {""}, false},
      {"Hello%EOL%World", {"Hello", "World"}, true},
      {"Hello%eol%World", {"Hello", "World"}, true},
      {"a%EoL%b%eOl%c", {"a", "b", "c"}, true},
      {"Hello%eol%%EOL%World", {"Hello", "", "World"}, true},
      {"%eol%", {"", ""}, true},
      {"end%eol%", {"end", ""}, true},
      {"%eol", {"%eol"}, false},
      {"%e0l% 100%", {"%e0l% 100%"}, false},
      {"%%eol%%", {"%", "%"}, true},
      {"\xC2\xA9 2026%eol%Tarnwick", {"\xC2\xA9 2026", "Tarnwick"}, true},
  };
  for (const auto& c : cases) {
    const WatermarkLines split = SplitWatermarkLines(c.text);
    EXPECT_EQ(split.lines, c.lines) << c.text;
    EXPECT_EQ(split.hasMarker, c.hasMarker) << c.text;
  }
}

TEST(LayOutTextBox, LinesTakeTheWidestAndHighestAndOneStepPerMarker) {
  const std::vector<LineSize> three{{57, 16}, {0, 16}, {80, 17}};
  const struct {
    const char* what;
    std::vector<LineSize> sizes;
    bool hasMarker;
    std::int32_t leading, padding;
    TextBox expected;
  } cases[] = {
      {"three lines", three, true, 0, 0, {80, 17 + 2 * 17, 17, 17}},
      {"leading", three, true, 4, 0, {80, 17 + 2 * 21, 17, 21}},
      {"negative leading", three, true, -5, 0, {80, 17 + 2 * 12, 17, 12}},
      {"padding on every side", three, true, 4, 6, {80 + 12, 17 + 2 * 21 + 12, 17, 21}},
      {"narrow and low lines", {{3, 4}, {2, 5}}, true, 0, 2, {10 + 4, 10 + 10 + 4, 10, 10}},
      {"one line without a marker has no minimum", {{3, 4}}, false, 7, 2, {3 + 4, 4 + 4, 4, 11}},
      {"single text keeps its size", {{57, 16}}, false, 0, 0, {57, 16, 16, 16}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LayOutTextBox(c.sizes, c.hasMarker, c.leading, c.padding), c.expected) << c.what;
  }
}

TEST(LayOutTextBox, UnmeasuredTextGetsATenPixelBoxBeforePadding) {
  const TextBox box = LayOutTextBox(std::nullopt, true, 0, 3);
  EXPECT_EQ(box.width, 16);
  EXPECT_EQ(box.height, 16);
  EXPECT_EQ(LayOutTextBox(std::nullopt, false, 0, 0).width, 10);
}

TEST(LayOutTextBox, ExtremeSettingsDoNotOverflow) {
  const std::vector<LineSize> sizes{{50, 20}, {50, 20}};
  const TextBox wide = LayOutTextBox(sizes, true, INT32_MAX, INT32_MAX);
  EXPECT_EQ(wide.width, 50 + 2 * std::int64_t{INT32_MAX});
  EXPECT_EQ(wide.height, 20 + (20 + std::int64_t{INT32_MAX}) + 2 * std::int64_t{INT32_MAX});
  const TextBox negative = LayOutTextBox(sizes, true, INT32_MIN, INT32_MIN);
  EXPECT_LT(negative.width, 0);
  EXPECT_LT(negative.height, 0);
}

TEST(AlignLine, EachAlignmentInTheWholeBox) {
  const struct {
    TextAlignment alignment;
    std::int64_t lineWidth, boxWidth;
    std::int32_t padding;
    std::int64_t expected;
  } cases[] = {
      {TextAlignment::kLeft, 57, 120, 5, 5},
      {TextAlignment::kCenter, 57, 120, 5, 32},  // 31.5 rounded up
      {TextAlignment::kCenter, 56, 120, 5, 32},
      {TextAlignment::kCenter, 121, 120, 0, -1},  // -0.5 rounded away from zero
      {TextAlignment::kCenter, 123, 120, 0, -2},  // -1.5
      {TextAlignment::kRight, 57, 120, 5, 58},
      {TextAlignment::kRight, 57, 120, 0, 63},
      // Codes no keyword names, as a configuration file may hold.
      {static_cast<TextAlignment>(3), 57, 120, 5, 0},
      {static_cast<TextAlignment>(-1), 57, 120, 5, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(AlignLine(c.alignment, c.lineWidth, c.boxWidth, c.padding), c.expected)
        << CodeOf(c.alignment) << " " << c.lineWidth;
  }
}

TEST(MeasureWatermarkLines, OneSizePerLineWithTheFont) {
  const DrawingFont font = LoadFont("Arial", 14, {});
  ASSERT_TRUE(font.IsFont());
  const auto sizes = MeasureWatermarkLines({"Wide line of text", "", "i"}, font);
  ASSERT_TRUE(sizes);
  ASSERT_EQ(sizes->size(), 3u);
  EXPECT_GT((*sizes)[0].width, (*sizes)[2].width);
  EXPECT_EQ((*sizes)[1].width, 0);
  EXPECT_GT((*sizes)[1].height, 10);  // an empty line is still one line high
  EXPECT_FALSE(MeasureWatermarkLines({"x"}, DrawingFont()));
}

}  // namespace
}  // namespace lumivane::testing
