#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "pipeline/encode_support.h"
#include "pipeline/output_depth.h"

namespace lumivane::testing {
namespace {

using Bitmap = std::unique_ptr<FIBITMAP, BitmapDeleter>;

struct Conversion {
  const char* format;
  int sourceBitDepth;  // 24: the quadrant picture; 48: the same as RGB16
  int outputBitDepth;
  FREE_IMAGE_TYPE type;
  FREE_IMAGE_COLOR_TYPE colourType;
  unsigned greenMask;  // 16 bits only
};

// One row per line of the conversion table, plus the routes through 24 bits for deeper images.
const Conversion kConversions[] = {
    {"tiff", 24, 96, FIT_RGBF, FIC_RGB, 0},
    {"png", 24, 48, FIT_RGB16, FIC_RGB, 0},
    {"png", 24, 32, FIT_BITMAP, FIC_RGB, 0},  // opaque alpha
    {"png", 48, 24, FIT_BITMAP, FIC_RGB, 0},
    {"bmp", 24, 16, FIT_BITMAP, FIC_RGB, FI16_565_GREEN_MASK},
    {"tga", 24, 16, FIT_BITMAP, FIC_RGB, FI16_555_GREEN_MASK},
    {"ico", 24, 16, FIT_BITMAP, FIC_RGB, FI16_555_GREEN_MASK},
    {"jxr", 24, 16, FIT_BITMAP, FIC_RGB, FI16_565_GREEN_MASK},
    {"bmp", 48, 16, FIT_BITMAP, FIC_RGB, FI16_565_GREEN_MASK},
    {"png", 24, 8, FIT_BITMAP, FIC_PALETTE, 0},
    {"gif", 48, 8, FIT_BITMAP, FIC_PALETTE, 0},
    {"jpg", 24, 8, FIT_BITMAP, FIC_MINISBLACK, 0},
    {"j2k", 24, 8, FIT_BITMAP, FIC_MINISBLACK, 0},
    {"jp2", 24, 8, FIT_BITMAP, FIC_MINISBLACK, 0},
    {"jxr", 24, 8, FIT_BITMAP, FIC_MINISBLACK, 0},
    {"jpg", 48, 8, FIT_BITMAP, FIC_MINISBLACK, 0},
    // FreeImage's 4-bit reduction gives greys, but not in the order FreeImage calls "minisblack".
    {"png", 24, 4, FIT_BITMAP, FIC_PALETTE, 0},
    {"png", 48, 4, FIT_BITMAP, FIC_PALETTE, 0},
    {"pbm", 24, 1, FIT_BITMAP, FIC_MINISBLACK, 0},
    {"png", 48, 1, FIT_BITMAP, FIC_MINISBLACK, 0},
};

Bitmap MakeSource(int bitDepth) {
  Bitmap image(MakeQuadrantImage(64, 40));
  if (bitDepth == 48) image.reset(FreeImage_ConvertToRGB16(image.get()));
  return image;
}

TEST(ConvertToOutputDepth, ConvertsByTheOutputBitDepth) {
  for (const Conversion& row : kConversions) {
    SCOPED_TRACE(std::string(row.format) + " " + std::to_string(row.sourceBitDepth) + " -> " +
                 std::to_string(row.outputBitDepth));
    Bitmap source = MakeSource(row.sourceBitDepth);
    int depth = row.outputBitDepth;
    const Bitmap converted(
        ConvertToOutputDepth(source.release(), FormatRow(row.format), depth, false, row.sourceBitDepth));
    ASSERT_NE(converted, nullptr);
    EXPECT_EQ(depth, row.outputBitDepth);
    EXPECT_EQ(static_cast<int>(FreeImage_GetBPP(converted.get())), row.outputBitDepth);
    EXPECT_EQ(FreeImage_GetImageType(converted.get()), row.type);
    EXPECT_EQ(FreeImage_GetWidth(converted.get()), 64u);
    EXPECT_EQ(FreeImage_GetHeight(converted.get()), 40u);
    if (row.outputBitDepth == 16) EXPECT_EQ(FreeImage_GetGreenMask(converted.get()), row.greenMask);
    EXPECT_EQ(FreeImage_GetColorType(converted.get()), row.colourType);
  }
}

TEST(ConvertToOutputDepth, QuantisesOtherFormatsToAWuPaletteThatKeepsTheColours) {
  int depth = 8;
  const Bitmap converted(ConvertToOutputDepth(MakeQuadrantImage(64, 40), FormatRow("png"), depth, false, 24));
  ASSERT_NE(converted, nullptr);
  const RGBQUAD* palette = FreeImage_GetPalette(converted.get());
  // Top-left is red: scan line 39 is the top row.
  const RGBQUAD red = palette[FreeImage_GetScanLine(converted.get(), 39)[0]];
  EXPECT_EQ(red.rgbRed, 255);
  EXPECT_EQ(red.rgbGreen, 0);
  EXPECT_EQ(red.rgbBlue, 0);
}

TEST(ConvertToOutputDepth, ReturnsTheSameImageWhenItHasTheDepthAlready) {
  FIBITMAP* image = MakeQuadrantImage(8, 8);
  int depth = 24;
  FIBITMAP* result = ConvertToOutputDepth(image, FormatRow("jpg"), depth, false, 24);
  EXPECT_EQ(result, image);
  FreeImage_Unload(result);
}

TEST(ConvertToOutputDepth, GivesNoImageForDepthsWithoutAConversion) {
  for (const int unsupported : {0, 2, 12, 64, 128}) {
    int depth = unsupported;
    EXPECT_EQ(ConvertToOutputDepth(MakeQuadrantImage(8, 8), FormatRow("tiff"), depth, false, 24), nullptr)
        << unsupported;
  }
}

TEST(ConvertToOutputDepth, WithoutAnImageGivesNoneAndLeavesTheDepth) {
  int depth = 17;
  EXPECT_EQ(ConvertToOutputDepth(nullptr, FormatRow("jpg"), depth, true, 48), nullptr);
  EXPECT_EQ(depth, 17);
}

struct AutomaticDepth {
  const char* format;
  int sourceBitDepth;
  int expectedDepth;
};

TEST(ConvertToOutputDepth, AutomaticDepthTakesTheAllowedDepthNearestToTheSource) {
  const AutomaticDepth rows[] = {
      {"jpg", 48, 24}, {"jpg", 24, 24}, {"png", 48, 48}, {"tiff", 24, 24}, {"exr", 24, 96},
      {"psd", 24, 32}, {"pcx", 48, 24}, {"gif", 24, 8},  {"pbm", 24, 1},   {"jxr", 48, 48},
  };
  for (const AutomaticDepth& row : rows) {
    SCOPED_TRACE(std::string(row.format) + " from " + std::to_string(row.sourceBitDepth));
    int depth = 0;
    const Bitmap converted(ConvertToOutputDepth(MakeSource(row.sourceBitDepth).release(), FormatRow(row.format), depth,
                                                true, row.sourceBitDepth));
    ASSERT_NE(converted, nullptr);
    EXPECT_EQ(depth, row.expectedDepth);
    EXPECT_EQ(static_cast<int>(FreeImage_GetBPP(converted.get())), row.expectedDepth);
  }
}

TEST(ConvertToOutputDepth, AutomaticDepthReplacesAFixedDepthEveryTime) {
  int depth = 8;
  const Bitmap converted(ConvertToOutputDepth(MakeSource(48).release(), FormatRow("jpg"), depth, true, 48));
  ASSERT_NE(converted, nullptr);
  EXPECT_EQ(depth, 24);
}

}  // namespace
}  // namespace lumivane::testing
