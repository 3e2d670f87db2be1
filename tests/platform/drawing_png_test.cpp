#include "platform/drawing_png.h"

#include <gtest/gtest.h>

#include "drawing_test_colours.h"
#include "platform/drawing_2d.h"
#include "support/png_readback.h"

namespace lumivane::testing {
namespace {

TEST(DrawingPng, OpaqueImageComesBackAsThirtyTwoBits) {
  const DrawingImage image = CreateFilledDrawingImage(5, 4, MakeRgba(12, 34, 56));
  const auto png = EncodeDrawingImagePng(image);
  ASSERT_TRUE(png);
  const PngReadback back(*png);
  ASSERT_TRUE(back.IsLoaded());
  EXPECT_EQ(back.BitsPerPixel(), 32u);
  EXPECT_EQ(back.Width(), 5);
  EXPECT_EQ(back.Height(), 4);
  EXPECT_EQ(back.Pixel(0, 0), MakeRgba(12, 34, 56, 255));
  EXPECT_EQ(back.Pixel(4, 3), MakeRgba(12, 34, 56, 255));
}

TEST(DrawingPng, KeepsStraightColoursAndAlphaPerPixel) {
  // One pixel per colour, written unblended so each keeps its own alpha.
  const Rgba colours[] = {MakeRgba(255, 0, 0, 255), MakeRgba(200, 100, 50, 128), MakeRgba(0, 0, 255, 1),
                          MakeRgba(0, 0, 0, 0), MakeRgba(10, 250, 90, 254)};
  DrawingImage image = CreateDrawingImage(std::size(colours), 2);
  {
    Drawing2D drawing(image);
    ASSERT_TRUE(drawing.SetMode(DrawingMode::kAllChannels));
    for (std::size_t x = 0; x < std::size(colours); ++x) {
      DrawingImage dot = CreateDrawingImage(1, 1);
      Drawing2D dotDrawing(dot);
      ASSERT_TRUE(dotDrawing.SetMode(DrawingMode::kAllChannels));
      ASSERT_TRUE(dotDrawing.FloodFill(0, 0, colours[x]));
      dotDrawing.Stop();
      ASSERT_TRUE(drawing.DrawImage(dot, static_cast<std::int64_t>(x), 0));
    }
  }
  const auto png = EncodeDrawingImagePng(image);
  ASSERT_TRUE(png);
  const PngReadback back(*png);
  ASSERT_EQ(back.BitsPerPixel(), 32u);
  for (std::size_t x = 0; x < std::size(colours); ++x) {
    SCOPED_TRACE(x);
    const Rgba pixel = *back.Pixel(static_cast<int>(x), 0);
    EXPECT_EQ(AlphaOf(pixel), AlphaOf(colours[x]));
    // Premultiplied storage loses colour precision as alpha shrinks; what shows when composited stays exact.
    const int tolerance = AlphaOf(colours[x]) >= 128 ? 1 : 255;
    EXPECT_LE(ChannelDistance(pixel, colours[x]), tolerance);
    EXPECT_EQ(back.Pixel(static_cast<int>(x), 1), Rgba{0});
  }
}

TEST(DrawingPng, EmptyImageHasNoPng) { EXPECT_FALSE(EncodeDrawingImagePng(DrawingImage())); }

}  // namespace
}  // namespace lumivane::testing
