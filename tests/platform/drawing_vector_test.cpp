#include "platform/drawing_vector.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "drawing_test_colours.h"
#include "platform/drawing_2d.h"
#include "platform/drawing_png.h"
#include "support/png_readback.h"

namespace lumivane::testing {
namespace {

constexpr Rgba kRed = MakeRgba(255, 0, 0);
constexpr Rgba kGreen = MakeRgba(0, 255, 0);
constexpr Rgba kBlue = MakeRgba(0, 0, 255);
constexpr Rgba kYellow = MakeRgba(255, 255, 0);

std::vector<std::uint8_t> PngOf(const DrawingImage& image) {
  const auto png = EncodeDrawingImagePng(image);
  return png ? *png : std::vector<std::uint8_t>{};
}

TEST(VectorDrawing, SessionOnAnEmptyImageRefusesEverything) {
  DrawingImage none;
  VectorDrawing drawing(none);
  EXPECT_FALSE(drawing.IsOpen());
  EXPECT_FALSE(drawing.BeginLayer(255));
  EXPECT_FALSE(drawing.AddPathBox(0, 0, 1, 1));
  EXPECT_FALSE(drawing.AddPathSegments("M 0 0 l 1 0 l 0 1 Z"));
  EXPECT_FALSE(drawing.FillPath());
  EXPECT_FALSE(drawing.FillOutput());
  EXPECT_FALSE(drawing.DrawText("x"));
}

// A frame of 10-pixel sides on a 100 x 80 image, as the frame step draws it: four corner rectangles under
// four trapezoids, in one opaque layer.
DrawingImage FrameImage() {
  DrawingImage image = CreateDrawingImage(100, 80);
  VectorDrawing drawing(image);
  drawing.BeginLayer(255);
  const struct {
    Rgba colour;
    const char* path;
  } shapes[] = {{kRed, "M 0 0 l 100 0 l -10 10 l -80 0 Z"},
                {kGreen, "M 100 0 l 0 80 l -10 -10 l 0 -60 Z"},
                {kYellow, "M 100 80 l -100 0 l 10 -10 l 80 0 Z"},
                {kBlue, "M 0 80 l 0 -80 l 10 10 l 0 60 Z"}};
  const Rgba corners[] = {kRed, kGreen, kYellow, kBlue};
  const double boxes[4][4] = {{0, 0, 10, 10}, {90, 0, 10, 10}, {90, 70, 10, 10}, {0, 70, 10, 10}};
  for (int i = 0; i < 4; ++i) {
    drawing.SetSourceColour(corners[i]);
    EXPECT_TRUE(drawing.AddPathBox(boxes[i][0], boxes[i][1], boxes[i][2], boxes[i][3]));
    EXPECT_TRUE(drawing.FillPath());
  }
  for (const auto& shape : shapes) {
    drawing.SetSourceColour(shape.colour);
    EXPECT_TRUE(drawing.AddPathSegments(shape.path));
    EXPECT_TRUE(drawing.FillPath());
  }
  EXPECT_TRUE(drawing.EndLayer());
  return image;
}

TEST(VectorDrawing, FilledPathsSurviveThePngRoundTrip) {
  const PngReadback back(PngOf(FrameImage()));
  ASSERT_EQ(back.BitsPerPixel(), 32u);
  const struct {
    int x;
    int y;
    Rgba expected;
  } probes[] = {
      {50, 3, kRed}, {96, 40, kGreen}, {50, 76, kYellow}, {3, 40, kBlue},
      {7, 2, kRed},  {2, 7, kBlue},  // the top-left corner is split along its diagonal
      {93, 2, kRed}, {97, 8, kGreen},  {92, 77, kYellow}, {3, 72, kBlue},
      {50, 40, 0},   {11, 11, 0},      {88, 68, 0},  // inside the frame: transparent
  };
  for (const auto& probe : probes) {
    SCOPED_TRACE(::testing::Message() << probe.x << "," << probe.y);
    EXPECT_EQ(back.Pixel(probe.x, probe.y), probe.expected);
  }
}

TEST(VectorDrawing, MalformedSegmentsAddNothing) {
  DrawingImage image = CreateDrawingImage(20, 20);
  VectorDrawing drawing(image);
  drawing.SetSourceColour(kRed);
  EXPECT_TRUE(drawing.AddPathSegments("M 0 0 l 20 0 l 0 20 l -20 0 Z"));
  EXPECT_TRUE(drawing.FillPath());  // clears the path
  EXPECT_FALSE(drawing.AddPathSegments("M 0 0 l 5 0 l --5 3 Z"));
  drawing.SetSourceColour(kBlue);
  EXPECT_TRUE(drawing.FillPath());
  EXPECT_FALSE(drawing.AddPathBox(0, 0, std::numeric_limits<double>::infinity(), 5));
  EXPECT_FALSE(drawing.AddPathBox(0, 0, 1e12, 5));
  EXPECT_TRUE(drawing.FillPath());
  drawing.Stop();
  EXPECT_EQ(DrawingImagePixel(image, 1, 1), kRed);
}

TEST(VectorDrawing, RectanglesFillOutputAndLayerAlpha) {
  DrawingImage image = CreateDrawingImage(40, 40);
  VectorDrawing drawing(image);
  drawing.SetSourceColour(kGreen);
  ASSERT_TRUE(drawing.AddPathBox(10, 10, 20, 20));
  ASSERT_TRUE(drawing.FillPath());
  ASSERT_TRUE(drawing.BeginLayer(128));
  drawing.SetSourceColour(kRed);
  ASSERT_TRUE(drawing.AddPathBox(0, 0, 5, 5));
  ASSERT_TRUE(drawing.FillPath());
  ASSERT_TRUE(drawing.EndLayer());
  EXPECT_FALSE(drawing.EndLayer());
  drawing.Stop();
  EXPECT_EQ(DrawingImagePixel(image, 15, 15), kGreen);
  EXPECT_EQ(DrawingImagePixel(image, 35, 35), Rgba{0});
  EXPECT_LE(ChannelDistance(*DrawingImagePixel(image, 2, 2), MakeRgba(255, 0, 0, 128)), 1);
}

TEST(VectorDrawing, FillOutputWithAlphaOneStaysAlmostTransparent) {
  DrawingImage image = CreateDrawingImage(8, 8);
  {
    VectorDrawing drawing(image);
    drawing.SetSourceColour(MakeRgba(0, 0, 0, 1));
    ASSERT_TRUE(drawing.FillOutput());
  }
  const PngReadback back(PngOf(image));
  EXPECT_EQ(back.Pixel(0, 0), MakeRgba(0, 0, 0, 1));
  EXPECT_EQ(back.Pixel(7, 7), MakeRgba(0, 0, 0, 1));

  DrawingImage opaque = CreateDrawingImage(3, 3);
  {
    VectorDrawing drawing(opaque);
    drawing.SetSourceColour(kBlue);
    ASSERT_TRUE(drawing.FillOutput());
  }
  EXPECT_EQ(PngReadback(PngOf(opaque)).Pixel(1, 1), kBlue);
}

TEST(VectorDrawing, TextIsAntialiasedAndAdvancesTheCursor) {
  DrawingImage image = CreateDrawingImage(200, 60);
  VectorDrawing drawing(image);
  EXPECT_FALSE(drawing.TextWidth("Hello"));
  const DrawingFont font = LoadFont("Arial", 20, {});
  drawing.SetFont(font);
  const double width = *drawing.TextWidth("Hello");
  EXPECT_GT(width, 40);
  EXPECT_NE(width, std::floor(width));  // a real number, not rounded to pixels

  DrawingImage measuring = CreateDrawingImage(1, 1);
  Drawing2D raster(measuring);
  raster.SetFont(font);
  EXPECT_NEAR(width, raster.MeasureText("Hello")->width, 3);

  drawing.SetSourceColour(MakeRgba(0, 0, 0));
  ASSERT_TRUE(drawing.MovePathCursor(10, 12));
  ASSERT_TRUE(drawing.DrawText("Hel"));
  ASSERT_TRUE(drawing.DrawText("lo"));  // continues where "Hel" ended
  drawing.Stop();

  const PngReadback back(PngOf(image));
  int left = 1000, right = -1, top = 1000, bottom = -1, partial = 0;
  for (int y = 0; y < back.Height(); ++y) {
    for (int x = 0; x < back.Width(); ++x) {
      const int alpha = AlphaOf(*back.Pixel(x, y));
      if (alpha == 0) continue;
      partial += alpha < 255;
      left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
    }
  }
  ASSERT_GE(right, 0) << "no text drawn";
  EXPECT_GT(partial, 10);  // antialiased edges
  EXPECT_GE(left, 10);
  EXPECT_LE(left, 14);
  EXPECT_GE(top, 12);
  EXPECT_LE(right, 10 + static_cast<int>(std::ceil(width)) + 1);
  EXPECT_GE(right, 10 + static_cast<int>(width) - 4);
  EXPECT_LT(bottom, 12 + 40);
}

TEST(VectorDrawing, TextAndPathInOneImageReadBackThroughFreeImage) {
  DrawingImage image = CreateDrawingImage(160, 50);
  {
    VectorDrawing drawing(image);
    drawing.BeginLayer(255);
    drawing.SetSourceColour(kBlue);
    ASSERT_TRUE(drawing.AddPathSegments("M 120 10 l 30 0 l 0 30 l -30 0 Z"));
    ASSERT_TRUE(drawing.FillPath());
    drawing.SetFont(LoadFont("Liberation Serif", 18, {.bold = true}));
    drawing.SetSourceColour(kRed);
    ASSERT_TRUE(drawing.MovePathCursor(4, 8));
    ASSERT_TRUE(drawing.DrawText("Text"));
    drawing.EndLayer();
  }
  const PngReadback back(PngOf(image));
  ASSERT_EQ(back.BitsPerPixel(), 32u);
  EXPECT_EQ(back.Pixel(135, 25), kBlue);
  EXPECT_EQ(back.Pixel(115, 25), Rgba{0});
  EXPECT_EQ(back.Pixel(135, 45), Rgba{0});
  int textPixels = 0, beyond = 0;
  for (int y = 0; y < back.Height(); ++y) {
    for (int x = 0; x < 110; ++x) {
      const Rgba pixel = *back.Pixel(x, y);
      if (AlphaOf(pixel) == 0) continue;
      ++textPixels;
      EXPECT_EQ(pixel & 0x00FFFFFFu, 0x0000FFu);  // straight red at any coverage
      beyond += x < 4 || y < 8 || x > 80;
    }
  }
  EXPECT_GT(textPixels, 100);
  EXPECT_EQ(beyond, 0);
}

}  // namespace
}  // namespace lumivane::testing
