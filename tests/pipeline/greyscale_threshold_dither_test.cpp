#include <gtest/gtest.h>

#include <vector>

#include "pipeline/edit_steps.h"
#include "pipeline/encode_support.h"
#include "settings/setting_codes.h"
#include "pipeline/transform_images.h"
#include "support/unique_bitmap.h"

namespace lumivane::testing {
namespace {

Settings ThresholdSettings(std::int32_t level) {
  Settings settings;
  settings.adjustment.doImageThreshold = 1;
  settings.adjustment.imageThreshold = level;
  return settings;
}

Settings DitherSettings(DitherAlgorithm algorithm) {
  Settings settings;
  settings.adjustment.doImageDither = 1;
  settings.adjustment.imageDitherAlgorithm = algorithm;
  return settings;
}

unsigned WhitePixelsInRow(FIBITMAP* image, unsigned y) {
  unsigned white = 0;
  for (unsigned x = 0; x < FreeImage_GetWidth(image); ++x) white += PixelAt(image, x, y).rgbRed == 255 ? 1 : 0;
  return white;
}

TEST(GreyscaleImage, EveryDepthBecomes8BitGrey) {
  for (const unsigned bpp : {1U, 4U, 8U, 16U, 24U, 32U, 48U}) {
    SCOPED_TRACE(::testing::Message() << bpp << " bits");
    Settings settings;
    settings.adjustment.doImageGreyscale = 1;
    FIBITMAP* image = MakeImageOfDepth(32, 8, bpp);
    ASSERT_NE(image, nullptr);
    const UniqueBitmap grey(GreyscaleImage(image, settings));
    ASSERT_NE(grey, nullptr);
    EXPECT_EQ(FreeImage_GetBPP(grey.get()), 8U);
    EXPECT_EQ(FreeImage_GetColorType(grey.get()), FIC_MINISBLACK);
  }
}

TEST(GreyscaleImage, ColoursTurnIntoTheirGreyLevels) {
  Settings settings;
  settings.adjustment.doImageGreyscale = 1;
  const UniqueBitmap grey(GreyscaleImage(MakeQuadrantImage(40, 20), settings));
  ASSERT_NE(grey, nullptr);
  for (const Quadrant& quadrant : kQuadrants) {
    const auto level =
        RgbAt(grey.get(), static_cast<unsigned>(quadrant.centreX * 40), static_cast<unsigned>(quadrant.centreY * 20));
    EXPECT_NEAR(level[0], GreyOf(quadrant.rgb), 1);
  }
}

TEST(ThresholdImage, OnlyTheLowByteOfTheLevelCounts) {
  const struct {
    std::int32_t level;
    unsigned whitePixels;  // of the 256 levels in a row
  } cases[] = {
      {0, 256}, {44, 212}, {128, 128}, {255, 1}, {300, 212}, {556, 212}, {256, 256}, {-1, 1}, {-212, 212},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "level " << c.level);
    const UniqueBitmap result(ThresholdImage(MakeGreyRamp8(256, 2), ThresholdSettings(c.level)));
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(FreeImage_GetBPP(result.get()), 1U);
    EXPECT_EQ(WhitePixelsInRow(result.get(), 0), c.whitePixels);
  }
}

TEST(ThresholdImage, WorksFrom4To32BitsAndConvertsTheRest) {
  for (const unsigned bpp : {1U, 4U, 8U, 16U, 24U, 32U, 48U}) {
    SCOPED_TRACE(::testing::Message() << bpp << " bits");
    const UniqueBitmap result(ThresholdImage(MakeImageOfDepth(64, 4, bpp), ThresholdSettings(128)));
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(FreeImage_GetBPP(result.get()), 1U);
    // The gradient runs dark to light: the left end black, the right end white.
    EXPECT_EQ(PixelAt(result.get(), 0, 0).rgbRed, 0);
    EXPECT_EQ(PixelAt(result.get(), 63, 0).rgbRed, 255);
  }
}

TEST(DitherImage, EachAlgorithmUsesFreeImagesNumber) {
  const struct {
    DitherAlgorithm code;
    FREE_IMAGE_DITHER algorithm;
  } cases[] = {
      {DitherAlgorithm::kFloydSteinberg, FID_FS},
      {DitherAlgorithm::kBayer4, FID_BAYER4x4},
      {DitherAlgorithm::kBayer8, FID_BAYER8x8},
      {DitherAlgorithm::kBayer16, FID_BAYER16x16},
      {DitherAlgorithm::kCluster6, FID_CLUSTER6x6},
      {DitherAlgorithm::kCluster8, FID_CLUSTER8x8},
      {DitherAlgorithm::kCluster16, FID_CLUSTER16x16},
      // Codes no keyword names, as a configuration file may hold.
      {static_cast<DitherAlgorithm>(7), FID_FS},
      {static_cast<DitherAlgorithm>(-3), FID_FS},
  };
  const UniqueBitmap ramp(MakeGreyRamp8(256, 64));
  ASSERT_NE(ramp, nullptr);
  // Every algorithm gives a pattern of its own, so a wrong mapping shows.
  std::vector<std::vector<BYTE>> byAlgorithm;
  for (int algorithm = FID_FS; algorithm <= FID_BAYER16x16; ++algorithm) {
    const UniqueBitmap direct(FreeImage_Dither(ramp.get(), static_cast<FREE_IMAGE_DITHER>(algorithm)));
    ASSERT_NE(direct, nullptr);
    for (const auto& other : byAlgorithm) ASSERT_NE(PixelBytes(direct.get()), other);
    byAlgorithm.push_back(PixelBytes(direct.get()));
  }
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "algorithm " << CodeOf(c.code));
    const UniqueBitmap dithered(DitherImage(FreeImage_Clone(ramp.get()), DitherSettings(c.code)));
    ASSERT_NE(dithered, nullptr);
    EXPECT_EQ(FreeImage_GetBPP(dithered.get()), 1U);
    EXPECT_EQ(PixelBytes(dithered.get()), byAlgorithm[static_cast<std::size_t>(c.algorithm)]);
  }
}

TEST(DitherImage, WorksFrom4To32BitsAndConvertsTheRest) {
  for (const unsigned bpp : {1U, 4U, 8U, 16U, 24U, 32U, 48U}) {
    SCOPED_TRACE(::testing::Message() << bpp << " bits");
    const UniqueBitmap result(DitherImage(MakeImageOfDepth(64, 16, bpp), DitherSettings(DitherAlgorithm::kBayer4)));
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(FreeImage_GetBPP(result.get()), 1U);
  }
}

TEST(GreyscaleThresholdDither, AllThreeRunOneAfterAnother) {
  Settings settings = ThresholdSettings(300);  // acts as 44
  settings.adjustment.doImageGreyscale = 1;
  settings.adjustment.doImageDither = 1;
  settings.adjustment.imageDitherAlgorithm = DitherAlgorithm::kFloydSteinberg;
  FIBITMAP* image = MakeGreyGradient(256, 4, 0, 255);
  ASSERT_NE(image, nullptr);

  FIBITMAP* grey = GreyscaleImage(image, settings);
  ASSERT_NE(grey, nullptr);
  EXPECT_EQ(FreeImage_GetBPP(grey), 8U);
  FIBITMAP* blackAndWhite = ThresholdImage(grey, settings);
  ASSERT_NE(blackAndWhite, nullptr);
  EXPECT_EQ(FreeImage_GetBPP(blackAndWhite), 1U);
  EXPECT_EQ(WhitePixelsInRow(blackAndWhite, 0), 212U);
  const std::vector<BYTE> thresholded = PixelBytes(blackAndWhite);
  const UniqueBitmap dithered(DitherImage(blackAndWhite, settings));
  ASSERT_NE(dithered, nullptr);
  EXPECT_EQ(FreeImage_GetBPP(dithered.get()), 1U);
  // Pure black and white stays as it is when dithered.
  EXPECT_EQ(PixelBytes(dithered.get()), thresholded);
}

TEST(GreyscaleThresholdDither, NothingHappensWhenSwitchedOffOrWithoutAnImage) {
  const Settings off;
  FIBITMAP* image = MakeImageOfDepth(32, 8, 48);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(GreyscaleImage(image, off), image);
  EXPECT_EQ(ThresholdImage(image, off), image);
  EXPECT_EQ(DitherImage(image, off), image);
  EXPECT_EQ(FreeImage_GetBPP(image), 48U);
  FreeImage_Unload(image);

  Settings on = ThresholdSettings(10);
  on.adjustment.doImageGreyscale = 1;
  on.adjustment.doImageDither = 1;
  EXPECT_EQ(GreyscaleImage(nullptr, on), nullptr);
  EXPECT_EQ(ThresholdImage(nullptr, on), nullptr);
  EXPECT_EQ(DitherImage(nullptr, on), nullptr);
}

}  // namespace
}  // namespace lumivane::testing
