#include <gtest/gtest.h>

#include "pipeline/edit_steps.h"
#include "pipeline/transform_images.h"
#include "support/unique_bitmap.h"

namespace lumivane::testing {
namespace {

Settings CorrectionSettings(std::int32_t brightness, std::int32_t contrast, float gamma, std::int8_t invert) {
  Settings settings;
  settings.adjustment.doImageColorCorrection = 1;
  settings.adjustment.imageBrightness = brightness;
  settings.adjustment.imageContrast = contrast;
  settings.adjustment.imageGamma = gamma;
  settings.adjustment.imageInvert = invert;
  return settings;
}

// Grey mid-tones from 64 at the left to 192 at the right: the darker half is left of column 64.
constexpr unsigned kWidth = 129;
constexpr unsigned kMiddle = 64;

TEST(AdjustImageColors, EachCorrectionMovesMidTonesItsWay) {
  enum Direction { kDarker = -1, kSame = 0, kBrighter = 1 };
  const struct {
    const char* name;
    std::int32_t brightness, contrast;
    float gamma;
    std::int8_t invert;
    Direction darkHalf, brightHalf;
  } cases[] = {
      {"neutral", 0, 0, 1.0F, 0, kSame, kSame},
      {"brighter", 40, 0, 1.0F, 0, kBrighter, kBrighter},
      {"darker", -40, 0, 1.0F, 0, kDarker, kDarker},
      {"more contrast", 0, 50, 1.0F, 0, kDarker, kBrighter},
      {"less contrast", 0, -50, 1.0F, 0, kBrighter, kDarker},
      {"gamma above 1 lightens", 0, 0, 2.0F, 0, kBrighter, kBrighter},
      {"gamma below 1 darkens", 0, 0, 0.5F, 0, kDarker, kDarker},
      // Inverted, the dark half becomes the bright one.
      {"inverted", 0, 0, 1.0F, 1, kBrighter, kDarker},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FIBITMAP* image = MakeGreyGradient(kWidth, 8, 64, 192);
    ASSERT_NE(image, nullptr);
    const double darkBefore = MeanLevel(image, 0, kMiddle);
    const double brightBefore = MeanLevel(image, kMiddle + 1, kWidth);
    const UniqueBitmap adjusted(
        AdjustImageColors(image, CorrectionSettings(c.brightness, c.contrast, c.gamma, c.invert)));
    ASSERT_EQ(adjusted.get(), image);  // adjusted in place
    const auto direction = [](double after, double before) {
      return after > before + 2 ? kBrighter : after < before - 2 ? kDarker : kSame;
    };
    EXPECT_EQ(direction(MeanLevel(adjusted.get(), 0, kMiddle), darkBefore), c.darkHalf);
    EXPECT_EQ(direction(MeanLevel(adjusted.get(), kMiddle + 1, kWidth), brightBefore), c.brightHalf);
  }
}

TEST(AdjustImageColors, InvertingMirrorsEveryLevel) {
  FIBITMAP* image = MakeGreyGradient(kWidth, 4, 0, 255);
  ASSERT_NE(image, nullptr);
  const std::vector<BYTE> before = PixelBytes(image);
  const UniqueBitmap inverted(AdjustImageColors(image, CorrectionSettings(0, 0, 1.0F, 1)));
  const std::vector<BYTE> after = PixelBytes(inverted.get());
  ASSERT_EQ(after.size(), before.size());
  for (std::size_t i = 0; i < after.size(); ++i) ASSERT_EQ(after[i], 255 - before[i]) << "byte " << i;
}

TEST(AdjustImageColors, DeepAndSparseImagesContinueAt24Bits) {
  const struct {
    unsigned bpp;
    unsigned expectedBpp;
    bool sameBitmap;
  } cases[] = {{1, 24, false}, {4, 24, false}, {8, 8, true},   {16, 16, true},
               {24, 24, true}, {32, 32, true}, {48, 24, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.bpp << " bits");
    FIBITMAP* image = MakeImageOfDepth(32, 8, c.bpp);
    ASSERT_NE(image, nullptr);
    const UniqueBitmap adjusted(AdjustImageColors(image, CorrectionSettings(20, 0, 1.0F, 0)));
    ASSERT_NE(adjusted, nullptr);
    EXPECT_EQ(FreeImage_GetBPP(adjusted.get()), c.expectedBpp);
    if (c.sameBitmap) EXPECT_EQ(adjusted.get(), image);
  }
}

TEST(AdjustImageColors, A48BitImageIsAdjustedAfterItsConversion) {
  // Mid-grey 48-bit becomes 128 at 24 bits; brightened it must end up above that.
  const UniqueBitmap adjusted(
      AdjustImageColors(MakeImage48(16, 16, {32896, 32896, 32896}), CorrectionSettings(50, 0, 1.0F, 0)));
  ASSERT_NE(adjusted, nullptr);
  ASSERT_EQ(FreeImage_GetBPP(adjusted.get()), 24U);
  EXPECT_GT(MeanLevel(adjusted.get(), 0, 16), 160.0);
}

TEST(AdjustImageColors, NothingHappensWhenSwitchedOffOrWithoutAnImage) {
  Settings settings = CorrectionSettings(50, 50, 2.0F, 1);
  settings.adjustment.doImageColorCorrection = 0;
  FIBITMAP* image = MakeImage48(16, 16, {1000, 2000, 3000});
  ASSERT_NE(image, nullptr);
  const UniqueBitmap untouched(AdjustImageColors(image, settings));
  EXPECT_EQ(untouched.get(), image);
  EXPECT_EQ(FreeImage_GetBPP(untouched.get()), 48U);
  EXPECT_EQ(AdjustImageColors(nullptr, CorrectionSettings(50, 0, 1.0F, 0)), nullptr);
}

}  // namespace
}  // namespace lumivane::testing
