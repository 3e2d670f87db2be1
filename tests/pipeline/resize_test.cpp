#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "pipeline/edit_steps.h"
#include "pipeline/encode_support.h"
#include "settings/setting_codes.h"
#include "pipeline/transform_images.h"
#include "support/unique_bitmap.h"

namespace lumivane::testing {
namespace {

struct ResizeCase {
  const char* name;
  unsigned width, height;
  std::int32_t targetWidth;
  SizeUnit widthUnit;
  std::int32_t targetHeight;
  SizeUnit heightUnit;
  std::int8_t keepAspectRatio;
  ResizeType resizeType;
  unsigned expectedWidth, expectedHeight;  // equal to width and height: the image is left alone
};

Settings ResizeSettings(const ResizeCase& c) {
  Settings settings;
  settings.transform.doImageResize = 1;
  settings.transform.imageWidth = c.targetWidth;
  settings.transform.imageWidthUnit = c.widthUnit;
  settings.transform.imageHeight = c.targetHeight;
  settings.transform.imageHeightUnit = c.heightUnit;
  settings.transform.keepAspectRatio = c.keepAspectRatio;
  settings.transform.imageResizeType = c.resizeType;
  return settings;
}

constexpr SizeUnit kPx = SizeUnit::kPixels;
constexpr SizeUnit kPct = SizeUnit::kPercent;
constexpr ResizeType kAll = ResizeType::kAllImages;
constexpr ResizeType kLarge = ResizeType::kLargeImages;

TEST(ResizeImage, NewSizeFollowsTheTargetsUnitsAndAspectRatio) {
  const ResizeCase cases[] = {
      {"landscape, aspect kept", 4000, 3000, 800, kPx, 800, kPx, 1, kAll, 800, 600},
      {"portrait, aspect kept", 3000, 4000, 800, kPx, 800, kPx, 1, kAll, 600, 800},
      {"landscape, aspect free", 4000, 3000, 800, kPx, 800, kPx, 0, kAll, 800, 800},
      {"portrait, aspect free", 3000, 4000, 800, kPx, 800, kPx, 0, kAll, 800, 800},
      {"square takes the width", 500, 500, 300, kPx, 100, kPx, 1, kAll, 300, 300},
      {"portrait takes the height", 300, 600, 1000, kPx, 200, kPx, 1, kAll, 100, 200},
      {"percent both ways", 1000, 1000, 33, kPct, 50, kPct, 0, kAll, 330, 500},
      {"percent rounds halves up", 101, 10, 50, kPct, 100, kPct, 0, kAll, 51, 10},
      {"percent and pixels", 400, 300, 200, kPct, 90, kPx, 0, kAll, 800, 90},
      {"aspect ratio rounds", 1000, 480, 800, kPx, 800, kPx, 1, kAll, 800, 384},
      {"enlarging", 40, 30, 400, kPx, 1, kPx, 1, kAll, 400, 300},
      {"large only: smaller both ways", 640, 480, 800, kPx, 800, kPx, 0, kLarge, 640, 480},
      {"large only: wider", 1000, 480, 800, kPx, 800, kPx, 0, kLarge, 800, 800},
      {"large only: as tall", 640, 800, 800, kPx, 800, kPx, 0, kLarge, 800, 800},
      {"large only: taller", 640, 900, 800, kPx, 800, kPx, 0, kLarge, 800, 800},
      {"thin side keeps a pixel", 4000, 2, 100, kPx, 100, kPx, 1, kAll, 100, 1},
  };
  for (const ResizeCase& c : cases) {
    SCOPED_TRACE(c.name);
    const UniqueBitmap resized(
        ResizeImage(FreeImage_Allocate(static_cast<int>(c.width), static_cast<int>(c.height), 24),
                    static_cast<int>(c.width), static_cast<int>(c.height), ResizeSettings(c)));
    ASSERT_NE(resized, nullptr);
    EXPECT_EQ(FreeImage_GetWidth(resized.get()), c.expectedWidth);
    EXPECT_EQ(FreeImage_GetHeight(resized.get()), c.expectedHeight);
  }
}

TEST(ResizeImage, LeavesTheImageAloneWithoutAUsableTarget) {
  const ResizeCase cases[] = {
      {"width 0", 400, 300, 0, kPx, 200, kPx, 0, kAll, 400, 300},
      {"height 0", 400, 300, 200, kPx, 0, kPx, 0, kAll, 400, 300},
      {"negative width", 400, 300, -200, kPx, 200, kPx, 1, kAll, 400, 300},
      {"negative percent", 400, 300, -50, kPct, 50, kPct, 0, kAll, 400, 300},
      {"percent rounding to 0", 400, 300, 50, kPx, 0, kPct, 0, kAll, 400, 300},
      {"tiny percent", 40, 30, 1, kPct, 1, kPct, 0, kAll, 40, 30},
      {"unknown unit", 400, 300, 200, static_cast<SizeUnit>(2), 200, kPx, 0, kAll, 400, 300},
      {"target equals the size", 400, 300, 400, kPx, 300, kPx, 0, kAll, 400, 300},
      {"100 percent", 400, 300, 100, kPct, 100, kPct, 1, kAll, 400, 300},
      {"most negative", 400, 300, INT32_MIN, kPx, INT32_MIN, kPct, 1, kAll, 400, 300},
  };
  for (const ResizeCase& c : cases) {
    SCOPED_TRACE(c.name);
    FIBITMAP* image = MakeNoiseImage(c.width, c.height);
    ASSERT_NE(image, nullptr);
    const UniqueBitmap result(
        ResizeImage(image, static_cast<int>(c.width), static_cast<int>(c.height), ResizeSettings(c)));
    EXPECT_EQ(result.get(), image);
  }
  FIBITMAP* image = MakeNoiseImage(40, 30);
  Settings off = ResizeSettings(cases[0]);
  off.transform.doImageResize = 0;
  off.transform.imageWidth = 20;
  const UniqueBitmap result(ResizeImage(image, 40, 30, off));
  EXPECT_EQ(result.get(), image);
}

TEST(ResizeImage, FailsCleanlyOnSizesNoBitmapCanHave) {
  const ResizeCase cases[] = {
      {"two billion pixels wide", 400, 300, 2000000000, kPx, 100, kPx, 1, kAll, 0, 0},
      {"most pixels both ways", 400, 300, INT32_MAX, kPx, INT32_MAX, kPx, 0, kAll, 0, 0},
      {"a row too long to address", 40, 30, 100000000, kPx, 1, kPx, 0, kAll, 0, 0},
      {"percent past 32 bits", 4000, 3000, 1000000000, kPct, 1000000000, kPct, 0, kAll, 0, 0},
      {"a bitmap over two gigabytes", 40, 30, 40000, kPx, 40000, kPx, 0, kAll, 0, 0},
  };
  for (const ResizeCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ResizeImage(MakeNoiseImage(c.width, c.height), static_cast<int>(c.width), static_cast<int>(c.height),
                          ResizeSettings(c)),
              nullptr);
  }
}

TEST(ResizeImage, EachAlgorithmUsesItsFilter) {
  const struct {
    ResizeAlgorithm code;
    FREE_IMAGE_FILTER filter;
  } cases[] = {
      {ResizeAlgorithm::kBox, FILTER_BOX},
      {ResizeAlgorithm::kBilinear, FILTER_BILINEAR},
      {ResizeAlgorithm::kBSpline, FILTER_BSPLINE},
      {ResizeAlgorithm::kBicubic, FILTER_BICUBIC},
      {ResizeAlgorithm::kCatmullRom, FILTER_CATMULLROM},
      {ResizeAlgorithm::kLanczos, FILTER_LANCZOS3},
      // Codes no keyword names, as a configuration file may hold.
      {static_cast<ResizeAlgorithm>(6), FILTER_BICUBIC},
      {static_cast<ResizeAlgorithm>(-1), FILTER_BICUBIC},
  };
  const UniqueBitmap source(MakeNoiseImage(64, 48, 7));
  ASSERT_NE(source, nullptr);
  // Every filter gives a picture of its own, so a wrong mapping shows.
  std::vector<std::vector<BYTE>> byFilter;
  for (const FREE_IMAGE_FILTER filter :
       {FILTER_BOX, FILTER_BICUBIC, FILTER_BILINEAR, FILTER_BSPLINE, FILTER_CATMULLROM, FILTER_LANCZOS3}) {
    const UniqueBitmap direct(FreeImage_Rescale(source.get(), 37, 29, filter));
    ASSERT_NE(direct, nullptr);
    for (const auto& other : byFilter) ASSERT_NE(PixelBytes(direct.get()), other);
    byFilter.push_back(PixelBytes(direct.get()));
  }
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "algorithm " << CodeOf(c.code));
    ResizeCase size{"", 64, 48, 37, kPx, 29, kPx, 0, kAll, 37, 29};
    Settings settings = ResizeSettings(size);
    settings.transform.imageResizeAlgorithm = c.code;
    const UniqueBitmap resized(ResizeImage(FreeImage_Clone(source.get()), 64, 48, settings));
    ASSERT_NE(resized, nullptr);
    EXPECT_EQ(PixelBytes(resized.get()), byFilter[static_cast<std::size_t>(c.filter)]);
  }
}

TEST(ResizeImage, KeepsDeepImagesDeep) {
  const ResizeCase half{"", 80, 60, 50, kPct, 50, kPct, 0, kAll, 40, 30};
  const UniqueBitmap resized(ResizeImage(MakeImage48(80, 60, {1000, 30000, 60000}), 80, 60, ResizeSettings(half)));
  ASSERT_NE(resized, nullptr);
  EXPECT_EQ(FreeImage_GetImageType(resized.get()), FIT_RGB16);
  EXPECT_EQ(FreeImage_GetWidth(resized.get()), 40U);
}

TEST(ResizeImage, NoImageStaysNoImage) {
  const ResizeCase c{"", 80, 60, 50, kPx, 50, kPx, 0, kAll, 50, 50};
  EXPECT_EQ(ResizeImage(nullptr, 80, 60, ResizeSettings(c)), nullptr);
}

}  // namespace
}  // namespace lumivane::testing
