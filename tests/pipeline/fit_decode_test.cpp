// FIT's choice, against the resize and rotation rules themselves.
#include "pipeline/fit_decode.h"

#include <gtest/gtest.h>

#include "support/picture_pixels.h"

namespace lumivane::testing {
namespace {

Settings::Transform Resize(int width, int height, bool keepAspect = true, int rotation = 0) {
  Settings::Transform transform = DefaultSettings().transform;
  transform.doImageResize = 1;
  transform.imageWidth = width;
  transform.imageHeight = height;
  transform.keepAspectRatio = keepAspect ? 1 : 0;
  transform.doImageRotation = rotation != 0 ? 1 : 0;
  transform.imageRotation = rotation;
  return transform;
}

TEST(HalfSizeDecodeFits, OnlyWhenTheHalfSizePictureIsScaledDownToTheFullSizeOutput) {
  const ImageSize full{6000, 4000}, half{3000, 2000};
  EXPECT_TRUE(HalfSizeDecodeFits(full, half, Resize(1600, 1600)));
  EXPECT_FALSE(HalfSizeDecodeFits(full, half, Resize(3200, 3200)));  // the half-size picture is smaller
  EXPECT_FALSE(HalfSizeDecodeFits(full, full, Resize(1600, 1600)));  // no colour filter array: no gain
  EXPECT_FALSE(HalfSizeDecodeFits({}, {}, Resize(1600, 1600)));      // sizes unknown
  // Stretched pixels round the half-size side up: at 650 the kept aspect gives it another height, at 640 not.
  EXPECT_FALSE(HalfSizeDecodeFits({1301, 976}, {651, 488}, Resize(650, 650)));
  EXPECT_TRUE(HalfSizeDecodeFits({1301, 976}, {651, 488}, Resize(640, 640)));
  // A quarter turn puts the half-size picture's longer side where the target is higher; 45 degrees grow the canvas.
  EXPECT_FALSE(HalfSizeDecodeFits(full, half, Resize(1600, 2400, false)));
  EXPECT_TRUE(HalfSizeDecodeFits(full, half, Resize(1600, 2400, false, 90)));
  EXPECT_FALSE(HalfSizeDecodeFits(full, half, Resize(1600, 2400, false, 45)));
  Settings::Transform large = Resize(1600, 1600), percent = Resize(25, 25), off = Resize(1600, 1600);
  large.imageResizeType = ResizeType::kLargeImages;
  percent.imageWidthUnit = percent.imageHeightUnit = SizeUnit::kPercent;
  off.doImageResize = 0;
  EXPECT_FALSE(HalfSizeDecodeFits({1200, 800}, {600, 400}, large));  // the full-size picture keeps its size
  EXPECT_FALSE(HalfSizeDecodeFits(full, half, percent));
  EXPECT_FALSE(HalfSizeDecodeFits(full, half, off));
}

}  // namespace
}  // namespace lumivane::testing
