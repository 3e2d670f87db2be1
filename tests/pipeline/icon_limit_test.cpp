#include "pipeline/icon_limit.h"

#include <gtest/gtest.h>

#include "support/unique_bitmap.h"

namespace lumivane::testing {
namespace {

TEST(LimitToLargestSide, RescalesIconsLargerThan128ToExactly128) {
  const struct {
    const char* format;
    unsigned width, height, bpp;
    unsigned expectedWidth, expectedHeight;
  } cases[] = {
      {"ico", 640, 480, 24, 128, 128},
      {"ico", 100, 200, 24, 128, 128},
      {"ico", 129, 128, 32, 128, 128},
      {"ico", 300, 20, 8, 128, 128},
      {"ico", 128, 100, 24, 128, 100},
      {"ico", 128, 128, 24, 128, 128},
      {"ico", 16, 16, 24, 16, 16},
      {"png", 640, 480, 24, 640, 480},
      {"tga", 640, 480, 24, 640, 480},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.format << " " << c.width << " x " << c.height);
    FIBITMAP* image =
        FreeImage_Allocate(static_cast<int>(c.width), static_cast<int>(c.height), static_cast<int>(c.bpp));
    ASSERT_NE(image, nullptr);
    const bool rescaled = c.width != c.expectedWidth || c.height != c.expectedHeight;
    const OutputFormat* format = FindOutputFormat(c.format);
    ASSERT_NE(format, nullptr);
    const UniqueBitmap result(LimitToLargestSide(image, *format));
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(FreeImage_GetWidth(result.get()), c.expectedWidth);
    EXPECT_EQ(FreeImage_GetHeight(result.get()), c.expectedHeight);
    if (!rescaled) EXPECT_EQ(result.get(), image);
  }
}

TEST(LimitToLargestSide, NoImageStaysNoImage) {
  EXPECT_EQ(LimitToLargestSide(nullptr, *FindOutputFormat("ico")), nullptr);
}

}  // namespace
}  // namespace lumivane::testing
