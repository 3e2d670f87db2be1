// The solid frame as it shows in the picture.
#include <gtest/gtest.h>

#include <climits>

#include "pipeline/edit_steps.h"
#include "support/picture_pixels.h"

namespace lumivane::testing {
namespace {

constexpr Rgb kPictureGreen{0, 200, 0};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kMagenta{255, 0, 255};
constexpr Rgb kPurple{128, 0, 128};

Settings FrameSettings(std::int32_t left, std::int32_t right, std::int32_t top, std::int32_t bottom) {
  Settings settings = DefaultSettings();
  settings.frame.doFrame = FrameKind::kSolid;
  settings.frame.solidLeft = left;
  settings.frame.solidRight = right;
  settings.frame.solidTop = top;
  settings.frame.solidBottom = bottom;
  settings.frame.solidTopColor = "FF0000";
  settings.frame.solidLeftColor = "0000FF";
  settings.frame.solidRightColor = "FF00FF";
  settings.frame.solidBottomColor = "800080";
  return settings;
}

UniqueBitmap Framed(int width, int height, const Settings& settings, Rgb picture = kPictureGreen, int bpp = 24) {
  UniqueBitmap image = MakeSolidPicture(width, height, picture, bpp);
  return UniqueBitmap(DrawSolidFrame(image.release(), width, height, settings));
}

TEST(DrawSolidFrame, TenPixelsCoverExactlyTheOuterTenPixels) {
  const UniqueBitmap framed = Framed(100, 80, FrameSettings(10, 10, 10, 10));
  ASSERT_TRUE(framed);
  ASSERT_EQ(FreeImage_GetWidth(framed.get()), 100u);
  ASSERT_EQ(FreeImage_GetHeight(framed.get()), 80u);
  ASSERT_EQ(FreeImage_GetBPP(framed.get()), 24u);
  for (int y = 0; y < 80; ++y) {
    for (int x = 0; x < 100; ++x) {
      const Rgb pixel = *PixelOf(framed.get(), x, y);
      const bool left = x < 10, right = x >= 90, top = y < 10, bottom = y >= 70;
      SCOPED_TRACE(::testing::Message() << x << "," << y);
      if (!left && !right && !top && !bottom) {
        ASSERT_EQ(pixel, kPictureGreen);
      } else if ((left || right) && (top || bottom)) {
        ASSERT_EQ(pixel.g, 0);  // a corner: one or both adjacent sides, none of the picture
      } else {
        const Rgb side = top ? kRed : bottom ? kPurple : left ? kBlue : kMagenta;
        ASSERT_LE(Distance(pixel, side), 1);
      }
    }
  }
}

TEST(DrawSolidFrame, CornerIsSplitAlongItsDiagonal) {
  const UniqueBitmap framed = Framed(100, 80, FrameSettings(10, 10, 10, 10));
  ASSERT_TRUE(framed);
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) {
      if (x == y) continue;  // on the diagonal: a mix of both
      const Rgb expected = x > y ? kRed : kBlue;
      EXPECT_LE(Distance(*PixelOf(framed.get(), x, y), expected), 1) << x << "," << y;
    }
  }
  const Rgb onDiagonal = *PixelOf(framed.get(), 4, 4);
  EXPECT_GT(onDiagonal.r, 60);
  EXPECT_GT(onDiagonal.b, 60);
}

TEST(DrawSolidFrame, DifferentWidthsJoinAlongTheCornersDiagonal) {
  const UniqueBitmap framed = Framed(100, 80, FrameSettings(5, 0, 20, 0));
  ASSERT_TRUE(framed);
  // The join runs from (0, 0) to (5, 20): left of it the left side, right of it the top side.
  int leftPixels = 0, topPixels = 0;
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 5; ++x) {
      const Rgb pixel = *PixelOf(framed.get(), x, y);
      if (x + 1 <= y / 4.0) {
        EXPECT_LE(Distance(pixel, kBlue), 1) << x << "," << y;
        ++leftPixels;
      } else if (x >= (y + 1) / 4.0) {
        EXPECT_LE(Distance(pixel, kRed), 1) << x << "," << y;
        ++topPixels;
      }
    }
  }
  EXPECT_GT(leftPixels, 20);
  EXPECT_GT(topPixels, 20);
  EXPECT_LE(Distance(*PixelOf(framed.get(), 50, 19), kRed), 1);
  EXPECT_EQ(*PixelOf(framed.get(), 50, 20), kPictureGreen);
  EXPECT_LE(Distance(*PixelOf(framed.get(), 4, 50), kBlue), 1);
  EXPECT_EQ(*PixelOf(framed.get(), 5, 50), kPictureGreen);
  EXPECT_EQ(*PixelOf(framed.get(), 99, 79), kPictureGreen);  // no right or bottom side
}

TEST(DrawSolidFrame, OpacityBlendsTheFrameWithThePicture) {
  const Rgb picture{0, 200, 40};
  const struct {
    int opacity;
    Rgb expected;  // at a pixel of the top side (red)
  } cases[] = {
      {255, kRed},
      {128, {128, 100, 20}},
      {0, picture},
  };
  for (const auto& c : cases) {
    Settings settings = FrameSettings(10, 10, 10, 10);
    settings.frame.solidOpacity = c.opacity;
    const UniqueBitmap framed = Framed(60, 40, settings, picture, 32);
    ASSERT_TRUE(framed);
    EXPECT_EQ(FreeImage_GetBPP(framed.get()), 24u);
    EXPECT_LE(Distance(*PixelOf(framed.get(), 30, 5), c.expected), 1) << c.opacity;
    EXPECT_EQ(*PixelOf(framed.get(), 30, 20), picture) << c.opacity;
    if (c.opacity == 0) EXPECT_EQ(FindChangedArea(framed.get(), picture, 0).count, 0);
  }
}

TEST(DrawSolidFrame, ZeroWidthsDrawNothingVisible) {
  const UniqueBitmap framed = Framed(30, 20, FrameSettings(0, 0, 0, 0));
  ASSERT_TRUE(framed);
  EXPECT_EQ(FindChangedArea(framed.get(), kPictureGreen, 0).count, 0);
}

TEST(DrawSolidFrame, OffLeavesTheImageAndOtherKindsOnlyConvertIt) {
  Settings settings = FrameSettings(10, 10, 10, 10);
  settings.frame.doFrame = FrameKind::kNone;
  FIBITMAP* grey = FreeImage_Allocate(30, 20, 8);
  EXPECT_EQ(DrawSolidFrame(grey, 30, 20, settings), grey);
  FreeImage_Unload(grey);

  settings.frame.doFrame = static_cast<FrameKind>(2);  // no keyword names it
  const UniqueBitmap converted(DrawSolidFrame(FreeImage_Allocate(30, 20, 8), 30, 20, settings));
  ASSERT_TRUE(converted);
  EXPECT_EQ(FreeImage_GetBPP(converted.get()), 24u);
  EXPECT_EQ(FindChangedArea(converted.get(), {0, 0, 0}, 0).count, 0);

  EXPECT_EQ(DrawSolidFrame(nullptr, 30, 20, FrameSettings(10, 10, 10, 10)), nullptr);
}

TEST(DrawSolidFrame, UntrustedWidthsNeverReachOutsideThePicture) {
  const struct {
    const char* what;
    std::int32_t left, right, top, bottom;
    int width, height;
    bool covered;  // otherwise unchanged
  } cases[] = {
      {"negative widths count as 0", -10, INT_MIN, -1, -100, 40, 30, false},
      {"one side wider than the picture", 1000, 0, 0, 0, 40, 30, true},
      {"every side at its largest", INT_MAX, INT_MAX, INT_MAX, INT_MAX, 40, 30, true},
      {"left and right overlap", 30, 30, 0, 0, 40, 30, true},
      {"all four overlap", 25, 25, 20, 20, 40, 30, true},
      {"one-pixel picture", 10, 10, 10, 10, 1, 1, true},
      {"one-pixel picture, no widths", 0, 0, 0, 0, 1, 1, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const UniqueBitmap framed = Framed(c.width, c.height, FrameSettings(c.left, c.right, c.top, c.bottom));
    ASSERT_TRUE(framed);
    ASSERT_EQ(FreeImage_GetWidth(framed.get()), static_cast<unsigned>(c.width));
    const ChangedArea changed = FindChangedArea(framed.get(), kPictureGreen, 0);
    if (!c.covered) {
      EXPECT_EQ(changed.count, 0);
      continue;
    }
    for (int y = 0; y < c.height; ++y) {
      for (int x = 0; x < c.width; ++x) ASSERT_EQ(PixelOf(framed.get(), x, y)->g, 0) << x << "," << y;
    }
  }
  const UniqueBitmap wholeLeft = Framed(40, 30, FrameSettings(1000, 0, 0, 0));
  EXPECT_EQ(FindChangedArea(wholeLeft.get(), kBlue, 0).count, 0);
}

TEST(DrawSolidFrame, AWorkingSizeOtherThanThePicturesLeavesItUnframed) {
  for (const auto& size : {std::pair{0, 0}, std::pair{-5, 20}, std::pair{31, 20}, std::pair{INT_MAX, INT_MAX}}) {
    UniqueBitmap image = MakeSolidPicture(30, 20, kPictureGreen, 32);
    const UniqueBitmap result(DrawSolidFrame(image.release(), size.first, size.second, FrameSettings(5, 5, 5, 5)));
    ASSERT_TRUE(result);
    EXPECT_EQ(FreeImage_GetBPP(result.get()), 24u);
    EXPECT_EQ(FindChangedArea(result.get(), kPictureGreen, 0).count, 0) << size.first;
  }
}

}  // namespace
}  // namespace lumivane::testing
