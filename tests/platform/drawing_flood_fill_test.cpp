#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/drawing_2d.h"

namespace lumivane::testing {
namespace {

constexpr Rgba kWall = MakeRgba(0, 0, 0);
constexpr Rgba kFill = MakeRgba(255, 0, 0);

// Builds an image from rows of text: '#' is a wall pixel, '.' a transparent one.
DrawingImage ImageFromRows(const std::vector<std::string>& rows) {
  DrawingImage image =
      CreateDrawingImage(static_cast<std::int64_t>(rows[0].size()), static_cast<std::int64_t>(rows.size()));
  const DrawingImage wall = CreateFilledDrawingImage(1, 1, kWall);
  Drawing2D drawing(image);
  for (std::size_t y = 0; y < rows.size(); ++y) {
    for (std::size_t x = 0; x < rows[y].size(); ++x) {
      if (rows[y][x] == '#') drawing.DrawImage(wall, static_cast<std::int64_t>(x), static_cast<std::int64_t>(y));
    }
  }
  return image;
}

// The image as rows of text: '#' wall, '.' transparent, 'o' filled.
std::vector<std::string> RowsOf(const DrawingImage& image) {
  std::vector<std::string> rows;
  for (int y = 0; y < image.Height(); ++y) {
    std::string row;
    for (int x = 0; x < image.Width(); ++x) {
      const Rgba pixel = *DrawingImagePixel(image, x, y);
      row += pixel == kWall ? '#' : pixel == kFill ? 'o' : pixel == 0 ? '.' : '?';
    }
    rows.push_back(row);
  }
  return rows;
}

struct FillCase {
  const char* name;
  std::vector<std::string> before;
  int x;
  int y;
  std::vector<std::string> after;
};

TEST(FloodFill, FillsTheConnectedAreaOfTheStartColourOnly) {
  const FillCase cases[] = {
      {"enclosed room", {"......", ".####.", ".#..#.", ".####."}, 2, 2, {"......", ".####.", ".#oo#.", ".####."}},
      {"outside the room", {"......", ".####.", ".#..#.", ".####."}, 0, 0, {"oooooo", "o####o", "o#..#o", "o####o"}},
      {"corners do not connect", {".#.", "#..", "..."}, 0, 0, {"o#.", "#..", "..."}},
      {"walls themselves", {".#.", ".##", "#.."}, 1, 0, {".o.", ".oo", "#.."}},
      {"winding corridor",
       {"#######", "#.....#", "#####.#", "#.....#", "#.#####", "#.....#"},
       1,
       1,
       {"#######", "#ooooo#", "#####o#", "#ooooo#", "#o#####", "#ooooo#"}},
  };
  for (const FillCase& c : cases) {
    SCOPED_TRACE(c.name);
    DrawingImage image = ImageFromRows(c.before);
    Drawing2D drawing(image);
    ASSERT_TRUE(drawing.FloodFill(c.x, c.y, kFill));
    drawing.Stop();
    EXPECT_EQ(RowsOf(image), c.after);
  }
}

TEST(FloodFill, SameColourAndOutsidePointsEndAtOnce) {
  DrawingImage image = ImageFromRows({"..#", "..#"});
  Drawing2D drawing(image);
  EXPECT_TRUE(drawing.FloodFill(0, 0, 0));  // transparent onto transparent
  EXPECT_FALSE(drawing.FloodFill(3, 0, kFill));
  EXPECT_FALSE(drawing.FloodFill(-1, 0, kFill));
  drawing.Stop();
  EXPECT_EQ(RowsOf(image), (std::vector<std::string>{"..#", "..#"}));
}

TEST(FloodFill, WritesThroughTheDrawingMode) {
  DrawingImage image = CreateFilledDrawingImage(3, 3, MakeRgba(0, 0, 255));
  Drawing2D drawing(image);
  ASSERT_TRUE(drawing.SetMode(DrawingMode::kAllChannels));
  ASSERT_TRUE(drawing.FloodFill(1, 1, MakeRgba(255, 255, 255, 1)));  // an almost transparent box
  drawing.Stop();
  EXPECT_EQ(AlphaOf(*DrawingImagePixel(image, 2, 2)), 1);

  DrawingImage blended = CreateFilledDrawingImage(2, 2, MakeRgba(0, 0, 255));
  Drawing2D blending(blended);
  ASSERT_TRUE(blending.FloodFill(0, 0, MakeRgba(255, 0, 0, 128)));
  blending.Stop();
  EXPECT_EQ(DrawingImagePixel(blended, 1, 1), MakeRgba(128, 0, 127, 255));
}

TEST(FloodFill, LargeAreaNeedsNoDeepRecursion) {
  // A serpentine area of about a million pixels: a recursive fill would run out of stack.
  constexpr int kSide = 1000;
  DrawingImage image = CreateDrawingImage(kSide, kSide);
  const DrawingImage wall = CreateFilledDrawingImage(kSide - 1, 1, kWall);
  {
    Drawing2D walls(image);
    for (int y = 1; y < kSide; y += 2) walls.DrawImage(wall, (y / 2) % 2 == 0 ? 0 : 1, y);
  }
  Drawing2D drawing(image);
  ASSERT_TRUE(drawing.FloodFill(0, 0, kFill));
  drawing.Stop();
  EXPECT_EQ(DrawingImagePixel(image, kSide - 1, kSide - 2), kFill);
  EXPECT_EQ(DrawingImagePixel(image, 0, kSide - 1), kFill);
  EXPECT_EQ(DrawingImagePixel(image, 5, 1), kWall);
}

}  // namespace
}  // namespace lumivane::testing
