#include "platform/drawing_2d.h"

#include <gtest/gtest.h>

#include <limits>
#include <set>
#include <thread>
#include <vector>

#include "drawing_test_colours.h"

namespace lumivane::testing {
namespace {

constexpr Rgba kRed = MakeRgba(255, 0, 0);
constexpr Rgba kBlue = MakeRgba(0, 0, 255);
constexpr Rgba kBlack = MakeRgba(0, 0, 0);
constexpr Rgba kWhite = MakeRgba(255, 255, 255);

// Pixels (x, y) inside the image whose colour differs from `background`, as a bounding box.
struct Box {
  int left = std::numeric_limits<int>::max();
  int top = std::numeric_limits<int>::max();
  int right = -1;  // inclusive
  int bottom = -1;
  int count = 0;
};
Box BoxOfPixelsNot(const DrawingImage& image, Rgba background) {
  Box box;
  for (int y = 0; y < image.Height(); ++y) {
    for (int x = 0; x < image.Width(); ++x) {
      if (DrawingImagePixel(image, x, y) == background) continue;
      box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x), std::max(box.bottom, y),
             box.count + 1};
    }
  }
  return box;
}

TEST(Drawing2D, SessionOnAnEmptyImageRefusesEverything) {
  DrawingImage none;
  Drawing2D drawing(none);
  EXPECT_FALSE(drawing.IsOpen());
  drawing.SetFont(LoadFont("Arial", 12, {}));
  EXPECT_FALSE(drawing.MeasureText("x"));
  EXPECT_FALSE(drawing.DrawText(0, 0, "x", kRed, kBlue));
  EXPECT_FALSE(drawing.FloodFill(0, 0, kRed));
  EXPECT_FALSE(drawing.DrawImage(CreateFilledDrawingImage(1, 1, kRed), 0, 0));
}

TEST(Drawing2D, MeasuresWithTheSelectedFontOnly) {
  DrawingImage image = CreateDrawingImage(10, 10);
  Drawing2D drawing(image);
  ASSERT_TRUE(drawing.IsOpen());
  EXPECT_FALSE(drawing.MeasureText("Hello"));
  drawing.SetFont(LoadFont("Arial", 20, {}));
  const auto hello = drawing.MeasureText("Hello");
  const auto empty = drawing.MeasureText("");
  ASSERT_TRUE(hello && empty);
  EXPECT_GT(hello->width, 20);
  EXPECT_GT(hello->height, 20);  // 20 points are 26.7 pixels of em
  EXPECT_EQ(empty->width, 0);
  EXPECT_EQ(empty->height, hello->height);
  EXPECT_GT(drawing.MeasureText("Hello Hello")->width, hello->width);
}

TEST(Drawing2D, TextIsDrawnWithoutAntialiasingInsideItsBox) {
  DrawingImage image = CreateDrawingImage(200, 60);
  Drawing2D drawing(image);
  drawing.SetFont(LoadFont("Arial", 20, {.italic = true, .underline = true}));
  ASSERT_TRUE(drawing.SetMode(DrawingMode::kAllChannels));
  const TextSize size = *drawing.MeasureText("Quick fox");
  ASSERT_TRUE(drawing.DrawText(10, 5, "Quick fox", kWhite, MakeRgba(0, 0, 0, 0)));
  drawing.Stop();

  std::set<int> alphas;
  for (int y = 0; y < image.Height(); ++y) {
    for (int x = 0; x < image.Width(); ++x) alphas.insert(AlphaOf(*DrawingImagePixel(image, x, y)));
  }
  EXPECT_EQ(alphas, (std::set<int>{0, 255}));
  const Box ink = BoxOfPixelsNot(image, 0);
  ASSERT_GT(ink.count, 50);
  EXPECT_GE(ink.left, 10 - 2);  // italic may overhang its box by a pixel or two
  EXPECT_GE(ink.top, 5);
  EXPECT_LE(ink.right, 10 + size.width + 2);
  EXPECT_LE(ink.bottom, 5 + size.height - 1);
}

TEST(Drawing2D, TextBackColourFillsExactlyTheTextBox) {
  DrawingImage image = CreateFilledDrawingImage(120, 50, kWhite);
  Drawing2D drawing(image);
  drawing.SetFont(LoadFont("DejaVu Sans", 14, {}));
  const TextSize size = *drawing.MeasureText("Sample");
  ASSERT_TRUE(drawing.DrawText(7, 9, "Sample", kRed, kBlue));
  drawing.Stop();
  const Box painted = BoxOfPixelsNot(image, kWhite);
  EXPECT_EQ(painted.left, 7);
  EXPECT_EQ(painted.top, 9);
  EXPECT_EQ(painted.right, 7 + size.width - 1);
  EXPECT_EQ(painted.bottom, 9 + size.height - 1);
  EXPECT_EQ(painted.count, size.width * size.height);
  int red = 0;
  for (int y = painted.top; y <= painted.bottom; ++y) {
    for (int x = painted.left; x <= painted.right; ++x) {
      const Rgba pixel = *DrawingImagePixel(image, x, y);
      EXPECT_TRUE(pixel == kRed || pixel == kBlue) << x << "," << y;
      red += pixel == kRed;
    }
  }
  EXPECT_GT(red, 20);
}

TEST(Drawing2D, TextPartlyOutsideTouchesOnlyTheImage) {
  DrawingImage image = CreateDrawingImage(30, 10);
  Drawing2D drawing(image);
  drawing.SetFont(LoadFont("Arial", 30, {}));
  EXPECT_TRUE(drawing.DrawText(-15, -12, "Wide text beyond", kRed, kBlue));
  EXPECT_TRUE(drawing.DrawText(1000, 1000, "far away", kRed, kBlue));
  EXPECT_FALSE(drawing.DrawText(std::numeric_limits<std::int64_t>::max(), 0, "x", kRed, kBlue));
  EXPECT_EQ(BoxOfPixelsNot(image, 0).count, 30 * 10);  // the box covers the whole image
}

TEST(Drawing2D, FilterModeNeedsAFilter) {
  DrawingImage image = CreateDrawingImage(2, 2);
  Drawing2D drawing(image);
  EXPECT_FALSE(drawing.SetMode(DrawingMode::kFilter));
  EXPECT_TRUE(drawing.SetMode(DrawingMode::kAllChannels));
}

struct AlphaCase {
  DrawingMode mode;
  Rgba below;
  Rgba drawn;
  int alpha;
  Rgba expected;
};

TEST(Drawing2D, DrawsAnImageWithConstantAlpha) {
  const AlphaCase cases[] = {
      {DrawingMode::kBlend, kBlue, kRed, 128, MakeRgba(128, 0, 127, 255)},
      {DrawingMode::kBlend, kBlue, kRed, 255, kRed},
      {DrawingMode::kBlend, kBlue, kRed, 0, kBlue},
      {DrawingMode::kBlend, kBlue, kRed, -40, kBlue},  // clamped to 0
      {DrawingMode::kBlend, kBlue, kRed, 999, kRed},   // clamped to 255
      {DrawingMode::kBlend, 0, kRed, 128, MakeRgba(255, 0, 0, 128)},
      {DrawingMode::kBlend, kBlue, MakeRgba(255, 0, 0, 128), 128, MakeRgba(64, 0, 191, 255)},
      {DrawingMode::kAllChannels, kBlue, kRed, 128, MakeRgba(255, 0, 0, 128)},
      {DrawingMode::kAllChannels, kBlue, MakeRgba(0, 0, 0, 0), 255, 0},
  };
  for (const AlphaCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << "mode " << static_cast<int>(c.mode) << " alpha " << c.alpha);
    DrawingImage image = CreateDrawingImage(3, 3);
    DrawingImage source = CreateDrawingImage(2, 2);
    {
      Drawing2D setup(image);
      setup.SetMode(DrawingMode::kAllChannels);
      setup.FloodFill(0, 0, c.below);
      Drawing2D sourceSetup(source);
      sourceSetup.SetMode(DrawingMode::kAllChannels);
      sourceSetup.FloodFill(0, 0, c.drawn);
    }
    Drawing2D drawing(image);
    drawing.SetMode(c.mode);
    ASSERT_TRUE(drawing.DrawImage(source, 1, 1, c.alpha));
    drawing.Stop();
    EXPECT_LE(ChannelDistance(*DrawingImagePixel(image, 1, 1), c.expected), 1);
    EXPECT_LE(ChannelDistance(*DrawingImagePixel(image, 2, 2), c.expected), 1);
    EXPECT_LE(ChannelDistance(*DrawingImagePixel(image, 0, 0), c.below), 1);  // outside the drawn image
  }
}

TEST(Drawing2D, FilterSeesEachDrawnPixelWithItsConstantAlpha) {
  DrawingImage image = CreateFilledDrawingImage(2, 1, kBlack);
  DrawingImage source = CreateFilledDrawingImage(2, 1, MakeRgba(200, 100, 50));
  const auto grey = [](Rgba c) {
    const auto g = static_cast<std::uint8_t>((77 * RedOf(c) + 150 * GreenOf(c) + 29 * BlueOf(c)) >> 8);
    return MakeRgba(g, g, g, AlphaOf(c));
  };
  Drawing2D drawing(image);
  ASSERT_TRUE(drawing.SetMode(DrawingMode::kFilter, grey));
  ASSERT_TRUE(drawing.DrawImage(source, 1, 0, 102));
  drawing.Stop();
  EXPECT_EQ(DrawingImagePixel(image, 0, 0), kBlack);
  // (77 * 200 + 150 * 100 + 29 * 50) >> 8 = 125, written with alpha 102 in place of the black.
  EXPECT_LE(ChannelDistance(*DrawingImagePixel(image, 1, 0), MakeRgba(125, 125, 125, 102)), 2);
}

TEST(Drawing2D, DrawsImagesPartlyOutsideAndOntoThemselves) {
  DrawingImage image = CreateFilledDrawingImage(4, 1, kBlack);
  {
    Drawing2D paint(image);
    paint.DrawImage(CreateFilledDrawingImage(1, 1, kRed), 0, 0);
  }
  Drawing2D drawing(image);
  EXPECT_TRUE(drawing.DrawImage(image, 1, 0));  // red, black, black, black -> red, red, black, black
  EXPECT_TRUE(drawing.DrawImage(image, -3, 0));
  EXPECT_TRUE(drawing.DrawImage(image, 4, 0));
  EXPECT_FALSE(drawing.DrawImage(image, std::numeric_limits<std::int64_t>::min(), 0));
  drawing.Stop();
  EXPECT_EQ(DrawingImagePixel(image, 1, 0), kRed);
  EXPECT_EQ(DrawingImagePixel(image, 2, 0), kBlack);
  EXPECT_EQ(DrawingImagePixel(image, 0, 0), kBlack);  // the copy at -3 put the last pixel here
}

// Each thread owns its images and fonts; sessions on different threads must not disturb each other.
std::vector<Rgba> RenderSample(const DrawingFont& font) {
  DrawingImage image = CreateDrawingImage(120, 40);
  Drawing2D drawing(image);
  drawing.SetFont(font);
  drawing.DrawText(3, 3, "Thread text", kRed, MakeRgba(0, 0, 255, 40));
  drawing.FloodFill(119, 39, MakeRgba(0, 255, 0, 200));
  drawing.Stop();
  std::vector<Rgba> pixels;
  for (int y = 0; y < image.Height(); ++y) {
    for (int x = 0; x < image.Width(); ++x) pixels.push_back(*DrawingImagePixel(image, x, y));
  }
  return pixels;
}

TEST(Drawing2D, SessionsOnSeveralThreadsGiveTheSameResult) {
  const std::vector<Rgba> expected = RenderSample(LoadFont("Arial", 16, {.bold = true}));
  constexpr int kThreads = 4;
  std::vector<std::vector<Rgba>> results(kThreads);
  std::vector<std::thread> threads;
  for (int i = 0; i < kThreads; ++i) {
    threads.emplace_back([&results, i] {
      for (int round = 0; round < 5; ++round) results[i] = RenderSample(LoadFont("Arial", 16, {.bold = true}));
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (const std::vector<Rgba>& result : results) EXPECT_EQ(result, expected);
}

}  // namespace
}  // namespace lumivane::testing
