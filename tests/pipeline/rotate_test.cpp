#include <gtest/gtest.h>

#include <array>
#include <string>

#include "pipeline/edit_steps.h"
#include "pipeline/encode_support.h"
#include "settings/setting_codes.h"
#include "pipeline/transform_images.h"
#include "support/unique_bitmap.h"

namespace lumivane::testing {
namespace {

Settings RotationSettings(std::int32_t angle, RotationType type, std::string backColour = "000000") {
  Settings settings;
  settings.transform.doImageRotation = 1;
  settings.transform.imageRotation = angle;
  settings.transform.imageRotationType = type;
  settings.transform.imageRotationBackColor = std::move(backColour);
  return settings;
}

TEST(RotateImage, QuarterTurnSwapsTheSidesOnlyOnAGrowingCanvas) {
  // Rotation about the centre resamples every pixel, slowly: a smaller picture of the same shape shows the same.
  const struct {
    RotationType type;
    unsigned width, height;
    unsigned expectedWidth, expectedHeight;
  } cases[] = {
      {RotationType::kSimple, 4000, 3000, 3000, 4000},
      {RotationType::kAdvanced, 400, 300, 400, 300},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "type " << CodeOf(c.type));
    FIBITMAP* image = FreeImage_Allocate(static_cast<int>(c.width), static_cast<int>(c.height), 24);
    const UniqueBitmap rotated(RotateImage(image, RotationSettings(90, c.type)));
    ASSERT_NE(rotated, nullptr);
    EXPECT_EQ(FreeImage_GetWidth(rotated.get()), c.expectedWidth);
    EXPECT_EQ(FreeImage_GetHeight(rotated.get()), c.expectedHeight);
  }
}

TEST(RotateImage, OnlyAnglesFrom1To359Rotate) {
  const struct {
    std::int32_t angle;
    bool rotates;
  } cases[] = {
      {0, false},   {360, false}, {-90, false}, {-1, false}, {450, false},
      {720, false}, {1, true},    {90, true},   {180, true}, {359, true},
  };
  for (const RotationType type : {RotationType::kSimple, RotationType::kAdvanced}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(::testing::Message() << "type " << CodeOf(type) << ", angle " << c.angle);
      FIBITMAP* image = MakeQuadrantImage(40, 20);
      ASSERT_NE(image, nullptr);
      const std::vector<BYTE> before = PixelBytes(image);
      const UniqueBitmap result(RotateImage(image, RotationSettings(c.angle, type)));
      ASSERT_NE(result, nullptr);
      if (c.rotates) {
        EXPECT_NE(result.get(), image);
        EXPECT_NE(PixelBytes(result.get()), before);
      } else {
        EXPECT_EQ(result.get(), image);
        EXPECT_EQ(PixelBytes(result.get()), before);
      }
    }
  }
}

TEST(RotateImage, NothingHappensWhenSwitchedOff) {
  Settings settings = RotationSettings(90, RotationType::kSimple);
  settings.transform.doImageRotation = 0;
  FIBITMAP* image = MakeImageOfDepth(40, 20, 8);
  ASSERT_NE(image, nullptr);
  const UniqueBitmap result(RotateImage(image, settings));
  EXPECT_EQ(result.get(), image);
  EXPECT_EQ(FreeImage_GetBPP(result.get()), 8U);
  EXPECT_EQ(FreeImage_GetWidth(result.get()), 40U);
}

TEST(RotateImage, AddedCornersTakeTheBackColour) {
  const struct {
    const char* backColour;
    std::array<int, 3> corner;
  } cases[] = {
      {"FF0000", {255, 0, 0}},
      {"00ff80", {0, 255, 128}},
      {"red", {0, 0, 0}},  // not six characters: black
      {"FF00000", {0, 0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.backColour);
    const UniqueBitmap rotated(RotateImage(MakeFilledImage(100, 100, 24, {255, 255, 255}),
                                           RotationSettings(45, RotationType::kSimple, c.backColour)));
    ASSERT_NE(rotated, nullptr);
    const unsigned width = FreeImage_GetWidth(rotated.get());
    const unsigned height = FreeImage_GetHeight(rotated.get());
    EXPECT_GT(width, 100U);
    EXPECT_GT(height, 100U);
    for (const auto& [x, y] : {std::pair{0U, 0U}, {width - 1, 0U}, {0U, height - 1}, {width - 1, height - 1}}) {
      EXPECT_EQ(RgbAt(rotated.get(), x, y), c.corner) << "corner " << x << "," << y;
    }
    EXPECT_EQ(RgbAt(rotated.get(), width / 2, height / 2), (std::array<int, 3>{255, 255, 255}));
  }
}

TEST(RotateImage, AboutTheCentreTurnsThePictureInPlace) {
  // Left half red, right half blue: a quarter turn makes the halves top and bottom.
  FIBITMAP* image = MakeFilledImage(41, 41, 24, {0, 0, 255});
  ASSERT_NE(image, nullptr);
  for (unsigned y = 0; y < 41; ++y) {
    for (unsigned x = 0; x < 20; ++x) {
      RGBQUAD red{0, 0, 255, 0};
      FreeImage_SetPixelColor(image, x, y, &red);
    }
  }
  const UniqueBitmap rotated(RotateImage(image, RotationSettings(90, RotationType::kAdvanced)));
  ASSERT_NE(rotated, nullptr);
  ASSERT_EQ(FreeImage_GetWidth(rotated.get()), 41U);
  EXPECT_EQ(RgbAt(rotated.get(), 5, 5), RgbAt(rotated.get(), 35, 5));
  EXPECT_EQ(RgbAt(rotated.get(), 5, 35), RgbAt(rotated.get(), 35, 35));
  EXPECT_NE(RgbAt(rotated.get(), 20, 5), RgbAt(rotated.get(), 20, 35));
}

TEST(RotateImage, WorksOn24Or32BitsAndConvertsEveryOtherDepth) {
  const struct {
    unsigned bpp;
    unsigned expectedBpp;
  } cases[] = {{1, 24}, {4, 24}, {8, 24}, {16, 24}, {24, 24}, {32, 32}, {48, 24}};
  for (const RotationType type : {RotationType::kSimple, RotationType::kAdvanced}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(::testing::Message() << "type " << CodeOf(type) << ", " << c.bpp << " bits");
      const UniqueBitmap rotated(RotateImage(MakeImageOfDepth(40, 20, c.bpp), RotationSettings(30, type)));
      ASSERT_NE(rotated, nullptr);
      EXPECT_EQ(FreeImage_GetImageType(rotated.get()), FIT_BITMAP);
      EXPECT_EQ(FreeImage_GetBPP(rotated.get()), c.expectedBpp);
    }
  }
}

TEST(RotateImage, ThirtyTwoBitCornersAreTransparentBackColour) {
  const UniqueBitmap rotated(
      RotateImage(MakeFilledImage(60, 40, 32, {10, 20, 30}), RotationSettings(45, RotationType::kSimple, "FF8000")));
  ASSERT_NE(rotated, nullptr);
  ASSERT_EQ(FreeImage_GetBPP(rotated.get()), 32U);
  const RGBQUAD corner = PixelAt(rotated.get(), 0, 0);
  EXPECT_EQ(corner.rgbRed, 255);
  EXPECT_EQ(corner.rgbGreen, 128);
  EXPECT_EQ(corner.rgbBlue, 0);
  EXPECT_EQ(corner.rgbReserved, 0);
  const RGBQUAD centre =
      PixelAt(rotated.get(), FreeImage_GetWidth(rotated.get()) / 2, FreeImage_GetHeight(rotated.get()) / 2);
  EXPECT_EQ(centre.rgbReserved, 255);
}

TEST(RotateImage, AnUnknownTypeConvertsButDoesNotRotate) {
  const RotationType unknown = static_cast<RotationType>(2);  // no keyword names it
  FIBITMAP* image = MakeImageOfDepth(40, 20, 8);
  ASSERT_NE(image, nullptr);
  const UniqueBitmap converted(RotateImage(image, RotationSettings(90, unknown)));
  ASSERT_NE(converted, nullptr);
  EXPECT_EQ(FreeImage_GetBPP(converted.get()), 24U);
  EXPECT_EQ(FreeImage_GetWidth(converted.get()), 40U);
  EXPECT_EQ(FreeImage_GetHeight(converted.get()), 20U);

  FIBITMAP* colour = MakeQuadrantImage(40, 20);
  const UniqueBitmap untouched(RotateImage(colour, RotationSettings(90, unknown)));
  EXPECT_EQ(untouched.get(), colour);
}

TEST(RotatedSize, IsTheSizeRotateImageGivesWhereTheSizeAloneDecidesIt) {
  for (const RotationType type : {RotationType::kSimple, RotationType::kAdvanced}) {
    for (const int angle : {0, 45, 90, 180, 270, 360}) {
      const Settings settings = RotationSettings(angle, type);
      const std::optional<ImageSize> size = RotatedSize({40, 30}, settings.transform);
      const UniqueBitmap rotated(RotateImage(FreeImage_Allocate(40, 30, 24), settings));
      ASSERT_NE(rotated, nullptr);
      const ImageSize actual{static_cast<std::int32_t>(FreeImage_GetWidth(rotated.get())),
                             static_cast<std::int32_t>(FreeImage_GetHeight(rotated.get()))};
      EXPECT_EQ(size.value_or(actual), actual) << "angle " << angle;
      EXPECT_EQ(!size, type == RotationType::kSimple && angle == 45) << "angle " << angle;
    }
  }
}

}  // namespace
}  // namespace lumivane::testing
