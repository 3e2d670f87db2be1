#include "platform/drawing_image.h"

#include <FreeImage.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "drawing_test_colours.h"
#include "support/temp_dir.h"

namespace lumivane::testing {
namespace {

struct SizeCase {
  std::int64_t width;
  std::int64_t height;
  bool made;
};

TEST(DrawingImage, CreatesOnlySensibleSizes) {
  constexpr std::int64_t kHuge = std::numeric_limits<std::int64_t>::max();
  const SizeCase cases[] = {
      {1, 1, true},
      {37, 5, true},
      {kMaxDrawingImageSide, 1, true},
      {0, 5, false},
      {5, 0, false},
      {-1, 5, false},
      {5, -7, false},
      {kMaxDrawingImageSide + 1, 1, false},
      {1, std::int64_t{1} << 32, false},
      {kHuge, kHuge, false},
      {std::numeric_limits<std::int64_t>::min(), 2, false},
  };
  for (const SizeCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.width << " x " << c.height);
    const DrawingImage transparent = CreateDrawingImage(c.width, c.height);
    const DrawingImage filled = CreateFilledDrawingImage(c.width, c.height, MakeRgba(1, 2, 3));
    EXPECT_EQ(transparent.IsImage(), c.made);
    EXPECT_EQ(filled.IsImage(), c.made);
    if (c.made) {
      EXPECT_EQ(transparent.Width(), c.width);
      EXPECT_EQ(transparent.Height(), c.height);
      EXPECT_EQ(transparent.BitsPerPixel(), 32);
    }
  }
}

TEST(DrawingImage, StartsTransparentOrFilledOpaque) {
  const DrawingImage transparent = CreateDrawingImage(4, 3);
  const DrawingImage filled = CreateFilledDrawingImage(4, 3, MakeRgba(10, 200, 30, 0));  // alpha is ignored
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 4; ++x) {
      EXPECT_EQ(DrawingImagePixel(transparent, x, y), Rgba{0});
      EXPECT_EQ(DrawingImagePixel(filled, x, y), MakeRgba(10, 200, 30, 255));
    }
  }
  EXPECT_FALSE(DrawingImagePixel(filled, 4, 0));
  EXPECT_FALSE(DrawingImagePixel(filled, 0, -1));
  EXPECT_FALSE(DrawingImagePixel(DrawingImage(), 0, 0));
}

TEST(DrawingImage, MovingHandsOverTheSurface) {
  DrawingImage first = CreateDrawingImage(2, 2);
  DrawingImage second = std::move(first);
  EXPECT_FALSE(first.IsImage());  // NOLINT(bugprone-use-after-move): the moved-from handle is empty
  EXPECT_TRUE(second.IsImage());
  second = DrawingImage();
  EXPECT_FALSE(second.IsImage());
}

// A picture of 3 x 2 blocks of 16 x 16 pixels with known colours (blocks keep JPEG's smearing inside them),
// written by FreeImage.
constexpr int kBlock = 16;
std::string WritePicture(const TempDir& dir, const std::string& name, FREE_IMAGE_FORMAT format, int bpp) {
  FIBITMAP* bitmap =
      FreeImage_Allocate(3 * kBlock, 2 * kBlock, bpp, FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK);
  const RGBQUAD colours[2][3] = {
      {{0, 0, 255, 255}, {0, 255, 0, 128}, {255, 0, 0, 0}},
      {{255, 255, 255, 255}, {0, 0, 0, 255}, {40, 80, 120, 200}}};  // B, G, R, A; top row first
  for (int y = 0; y < 2 * kBlock; ++y) {
    for (int x = 0; x < 3 * kBlock; ++x) {
      RGBQUAD colour = colours[y / kBlock][x / kBlock];
      const int row = 2 * kBlock - 1 - y;  // FreeImage rows run bottom-up
      FreeImage_SetPixelColor(bitmap, x, row, &colour);
      if (bpp == 32) FreeImage_GetScanLine(bitmap, row)[4 * x + FI_RGBA_ALPHA] = colour.rgbReserved;
    }
  }
  const std::string path = dir / name;
  EXPECT_TRUE(FreeImage_Save(format, bitmap, path.c_str(), format == FIF_JPEG ? JPEG_QUALITYSUPERB : 0));
  FreeImage_Unload(bitmap);
  return path;
}

std::optional<Rgba> BlockPixel(const DrawingImage& image, int column, int row) {
  return DrawingImagePixel(image, column * kBlock + kBlock / 2, row * kBlock + kBlock / 2);
}

TEST(DrawingImage, LoadsBmpJpegAndPngKeepingTheirDepth) {
  TempDir dir;
  struct LoadCase {
    const char* name;
    FREE_IMAGE_FORMAT format;
    int bpp;
    int tolerance;  // JPEG is lossy
  };
  const LoadCase cases[] = {{"p.bmp", FIF_BMP, 24, 0}, {"p.png", FIF_PNG, 24, 0}, {"p.jpg", FIF_JPEG, 24, 8}};
  for (const LoadCase& c : cases) {
    SCOPED_TRACE(c.name);
    const DrawingImage image = LoadDrawingImage(WritePicture(dir, c.name, c.format, c.bpp));
    ASSERT_TRUE(image.IsImage());
    EXPECT_EQ(image.Width(), 3 * kBlock);
    EXPECT_EQ(image.Height(), 2 * kBlock);
    EXPECT_EQ(image.BitsPerPixel(), c.bpp);
    EXPECT_LE(ChannelDistance(*BlockPixel(image, 0, 0), MakeRgba(255, 0, 0)), c.tolerance);
    EXPECT_LE(ChannelDistance(*BlockPixel(image, 0, 1), MakeRgba(255, 255, 255)), c.tolerance);
    EXPECT_LE(ChannelDistance(*BlockPixel(image, 2, 1), MakeRgba(120, 80, 40)), c.tolerance);
  }
}

TEST(DrawingImage, LoadedPngKeepsItsAlpha) {
  TempDir dir;
  const DrawingImage image = LoadDrawingImage(WritePicture(dir, "alpha.png", FIF_PNG, 32));
  ASSERT_TRUE(image.IsImage());
  EXPECT_EQ(image.BitsPerPixel(), 32);
  EXPECT_EQ(BlockPixel(image, 0, 0), MakeRgba(255, 0, 0, 255));
  EXPECT_LE(ChannelDistance(*BlockPixel(image, 1, 0), MakeRgba(0, 255, 0, 128)), 1);
  EXPECT_EQ(AlphaOf(*BlockPixel(image, 2, 0)), 0);
  EXPECT_LE(ChannelDistance(*BlockPixel(image, 2, 1), MakeRgba(120, 80, 40, 200)), 1);
}

TEST(DrawingImage, UnreadableFilesGiveNoImage) {
  TempDir dir;
  EXPECT_FALSE(LoadDrawingImage(dir / "missing.png").IsImage());
  EXPECT_FALSE(LoadDrawingImage(dir.WriteFile("text.png", "not a picture at all")).IsImage());
  EXPECT_FALSE(LoadDrawingImage(dir.WriteFile("empty.bmp", "")).IsImage());
  EXPECT_FALSE(LoadDrawingImage(dir.path().string()).IsImage());
}

}  // namespace
}  // namespace lumivane::testing
