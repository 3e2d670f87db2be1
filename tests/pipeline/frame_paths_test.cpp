#include "pipeline/frame_paths.h"

#include <gtest/gtest.h>

#include <climits>

#include "platform/drawing_path_segments.h"

namespace lumivane::testing {
namespace {

TEST(SolidFrameShapes, TenPixelSidesOnAHundredByEighty) {
  const auto shapes = SolidFrameShapes({10, 10, 10, 10}, 100, 80);
  EXPECT_EQ(shapes[4].path, "M 0 0 l 100 0 l -10 10 l -80 0 Z");
  EXPECT_EQ(shapes[5].path, "M 100 0 l 0 80 l -10 -10 l 0 -60 Z");
  EXPECT_EQ(shapes[6].path, "M 100 80 l -100 0 l 10 -10 l 80 0 Z");
  EXPECT_EQ(shapes[7].path, "M 0 80 l 0 -80 l 10 10 l 0 60 Z");
}

TEST(SolidFrameShapes, RectanglesComeFirstThenTrapezoidsEachInItsSideColour) {
  const FrameSides sides{.left = 5, .right = 7, .top = 20, .bottom = 3};
  const auto shapes = SolidFrameShapes(sides, 60, 50);
  const struct {
    FrameSide side;
    std::array<std::int64_t, 4> box;
  } rectangles[] = {{FrameSide::kTop, {0, 0, 5, 20}},
                    {FrameSide::kRight, {53, 0, 7, 20}},
                    {FrameSide::kBottom, {53, 47, 7, 3}},
                    {FrameSide::kLeft, {0, 47, 5, 3}}};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(shapes[i].path.empty());
    EXPECT_EQ(shapes[i].side, rectangles[i].side);
    EXPECT_EQ(shapes[i].box, rectangles[i].box);
  }
  const FrameSide trapezoidSides[] = {FrameSide::kTop, FrameSide::kRight, FrameSide::kBottom, FrameSide::kLeft};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(shapes[4 + i].side, trapezoidSides[i]);
}

// The corners of each trapezoid as the path reader resolves them.
TEST(SolidFrameShapes, TrapezoidsRunAlongTheEdgesToTheInnerCorners) {
  const auto shapes = SolidFrameShapes({.left = 5, .right = 7, .top = 20, .bottom = 3}, 60, 50);
  const std::vector<PathPoint> corners[] = {
      {{0, 0}, {60, 0}, {53, 20}, {5, 20}},
      {{60, 0}, {60, 50}, {53, 47}, {53, 20}},
      {{60, 50}, {0, 50}, {5, 47}, {53, 47}},
      {{0, 50}, {0, 0}, {5, 20}, {5, 47}},
  };
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(shapes[4 + i].path);
    const auto steps = ParsePathSegments(shapes[4 + i].path, std::nullopt);
    ASSERT_TRUE(steps);
    ASSERT_EQ(steps->size(), 5u);
    for (int k = 0; k < 4; ++k) EXPECT_EQ((*steps)[k].point, corners[i][k]);
    EXPECT_EQ(steps->back().kind, PathStepKind::kClose);
  }
}

TEST(SolidFrameSides, NegativeWidthsCountAsZeroAndWiderThanThePictureAsThePicture) {
  const struct {
    std::int32_t left, right, top, bottom;
    FrameSides expected;
  } cases[] = {
      {10, 20, 30, 40, {10, 20, 30, 40}},
      {-1, -50, INT_MIN, 0, {0, 0, 0, 0}},
      {100, 101, 80, 81, {100, 100, 80, 80}},
      {INT_MAX, INT_MAX, INT_MAX, INT_MAX, {100, 100, 80, 80}},
      {60, 60, 0, 0, {60, 60, 0, 0}},  // each fits; together they overlap
  };
  for (const auto& c : cases) {
    Settings::Frame frame;
    frame.solidLeft = c.left;
    frame.solidRight = c.right;
    frame.solidTop = c.top;
    frame.solidBottom = c.bottom;
    EXPECT_EQ(SolidFrameSides(frame, 100, 80), c.expected) << c.left << " " << c.right << " " << c.top;
  }
}

}  // namespace
}  // namespace lumivane::testing
