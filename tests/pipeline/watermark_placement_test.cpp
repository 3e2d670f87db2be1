#include "pipeline/watermark_placement.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "settings/setting_codes.h"

namespace lumivane::testing {
namespace {

// The nine positions in list order: top row, middle row, bottom row, each from left to right.
constexpr Position kPositions[] = {Position::kTopLeft,     Position::kTopCenter,    Position::kTopRight,
                                   Position::kMiddleLeft,  Position::kMiddleCenter, Position::kMiddleRight,
                                   Position::kBottomLeft,  Position::kBottomCenter, Position::kBottomRight};

Settings::Frame SolidFrame(std::int32_t left, std::int32_t right, std::int32_t top, std::int32_t bottom) {
  Settings::Frame frame;
  frame.doFrame = FrameKind::kSolid;
  frame.solidLeft = left;
  frame.solidRight = right;
  frame.solidTop = top;
  frame.solidBottom = bottom;
  return frame;
}

TEST(WatermarkBoundaryArea, FrameBoundaryOnlyWithASolidFrame) {
  const Settings::Frame frame = SolidFrame(20, 30, 10, 15);
  Settings::Frame off = frame;
  off.doFrame = FrameKind::kNone;
  Settings::Frame otherKind = frame;
  otherKind.doFrame = static_cast<FrameKind>(2);  // a code no keyword names, as a configuration file may hold
  const struct {
    const char* what;
    Boundary boundary;
    Settings::Frame frame;
    WatermarkArea expected;
  } cases[] = {
      {"image boundary", Boundary::kImage, frame, {0, 0, 200, 100}},
      {"frame boundary", Boundary::kFrame, frame, {20, 10, 150, 75}},
      {"frame boundary, frame off", Boundary::kFrame, off, {0, 0, 200, 100}},
      {"frame boundary, no solid frame", Boundary::kFrame, otherKind, {0, 0, 200, 100}},
      {"unknown boundary", static_cast<Boundary>(7), frame, {0, 0, 200, 100}},
      {"negative sides count as 0", Boundary::kFrame, SolidFrame(-5, -5, -5, -5), {0, 0, 200, 100}},
      {"sides wider than the picture", Boundary::kFrame, SolidFrame(INT_MAX, 0, INT_MAX, INT_MAX),
       {200, 100, 0, -100}},
  };
  for (const auto& c : cases) EXPECT_EQ(WatermarkBoundaryArea(200, 100, c.boundary, c.frame), c.expected) << c.what;
}

TEST(PlaceWatermark, NinePositionsInTheWholePictureAndInsideTheFrame) {
  using Corner = std::pair<std::int64_t, std::int64_t>;
  const struct {
    Boundary boundary;
    Corner expected[9];
  } cases[] = {
      {Boundary::kImage, {{10, 5}, {80, 5}, {150, 5}, {10, 40}, {80, 40}, {150, 40}, {10, 75}, {80, 75}, {150, 75}}},
      {Boundary::kFrame,
       {{30, 15}, {75, 15}, {120, 15}, {30, 37}, {75, 37}, {120, 37}, {30, 60}, {75, 60}, {120, 60}}},
  };
  for (const auto& c : cases) {
    const WatermarkArea area = WatermarkBoundaryArea(200, 100, c.boundary, SolidFrame(20, 30, 10, 15));
    for (std::size_t i = 0; i < std::size(kPositions); ++i) {
      const WatermarkArea placed = PlaceWatermark(kPositions[i], {40, 20}, {10, 5}, area);
      EXPECT_EQ(placed, (WatermarkArea{c.expected[i].first, c.expected[i].second, 40, 20}))
          << "boundary " << CodeOf(c.boundary) << " position "
          << KeywordName(KeywordsOf(Position{}), CodeOf(kPositions[i]));
    }
  }
}

TEST(PlaceWatermark, TwentyPixelFrameAndTopLeftTenTenGivesThirtyThirty) {
  const WatermarkArea area = WatermarkBoundaryArea(300, 200, Boundary::kFrame, SolidFrame(20, 20, 20, 20));
  const WatermarkArea placed = PlaceWatermark(Position::kTopLeft, {16, 12}, {10, 10}, area);
  EXPECT_EQ(placed.x, 30);
  EXPECT_EQ(placed.y, 30);
}

TEST(PlaceWatermark, UnknownCodeGivesTheAreaOrigin) {
  const WatermarkArea area{20, 10, 150, 75};
  for (const int position : {9, -1, 127}) {
    EXPECT_EQ(PlaceWatermark(static_cast<Position>(position), {40, 20}, {10, 5}, area), (WatermarkArea{20, 10, 40, 20}))
        << position;
  }
}

TEST(PlaceWatermark, CentreTruncatesTowardZero) {
  const WatermarkArea area{0, 0, 10, 10};
  EXPECT_EQ(PlaceWatermark(Position::kMiddleCenter, {15, 16}, {}, area), (WatermarkArea{-2, -3, 15, 16}));
  EXPECT_EQ(PlaceWatermark(Position::kMiddleCenter, {5, 4}, {}, area), (WatermarkArea{2, 3, 5, 4}));
}

TEST(PlaceWatermark, ExtremeOffsetsDoNotOverflow) {
  const WatermarkArea area{0, 0, 200, 100};
  const WatermarkArea placed = PlaceWatermark(Position::kBottomRight, {40, 20}, {INT_MIN, INT_MIN}, area);
  EXPECT_EQ(placed.x, 160 - std::int64_t{INT_MIN});
  EXPECT_FALSE(FitsInPicture(placed, 200, 100));
}

TEST(ClipWatermark, CutsWhatReachesPastTheAreaFromItsOffset) {
  const WatermarkArea area{20, 10, 200, 100};  // the origin plays no part
  const struct {
    const char* what;
    WatermarkSize size;
    WatermarkOffsets offsets;
    WatermarkSize expected;
  } cases[] = {
      {"fits", {40, 20}, {10, 5}, {40, 20}},
      {"exactly fits", {190, 95}, {10, 5}, {190, 95}},
      {"too wide", {195, 20}, {10, 5}, {190, 20}},
      {"too high", {40, 98}, {10, 5}, {40, 95}},
      {"both", {500, 500}, {0, 0}, {200, 100}},
      {"offset beyond the area", {40, 20}, {250, 5}, {-50, 20}},
      {"offset at the edge", {40, 20}, {200, 5}, {0, 20}},
      {"negative offset makes room", {210, 20}, {-20, 0}, {210, 20}},
      {"negative offset, still too wide", {230, 20}, {-20, 0}, {220, 20}},
      {"huge offsets", {40, 20}, {INT_MAX, INT_MAX}, {200 - std::int64_t{INT_MAX}, 100 - std::int64_t{INT_MAX}}},
  };
  for (const auto& c : cases) EXPECT_EQ(ClipWatermark(c.size, c.offsets, area), c.expected) << c.what;
}

TEST(FitsInPicture, WhollyInsideAndNotEmpty) {
  const struct {
    WatermarkArea placed;
    bool fits;
  } cases[] = {
      {{0, 0, 200, 100}, true},   {{150, 75, 50, 25}, true}, {{151, 75, 50, 25}, false},
      {{150, 76, 50, 25}, false}, {{-1, 0, 10, 10}, false},  {{0, -1, 10, 10}, false},
      {{0, 0, 0, 10}, false},     {{0, 0, 10, -3}, false},   {{INT_MAX, 0, INT_MAX, 10}, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FitsInPicture(c.placed, 200, 100), c.fits) << c.placed.x << "," << c.placed.y;
  }
}

}  // namespace
}  // namespace lumivane::testing
