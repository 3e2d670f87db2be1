#include "pipeline/decode.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "dng/dng_writer.h"
#include "support/temp_dir.h"
#include "support/unique_bitmap.h"

namespace lumivane::testing {
namespace {

using Order = std::vector<DecodeMethod>;
constexpr DecodeMethod kRaw = DecodeMethod::kCameraRaw;
constexpr DecodeMethod kJpeg = DecodeMethod::kJpeg;
constexpr DecodeMethod kPixels8 = DecodeMethod::kRawPixels8;
constexpr DecodeMethod kPixels16 = DecodeMethod::kRawPixels16;

TEST(DecodeOrder, HeaderlessFirstForCodes8And16AndLastOnlyWithFullGeometry) {
  const struct {
    RawLoadAs rawLoadAs;
    RawPixelGeometry geometry;
    Order order;
  } cases[] = {
      {RawLoadAs::kAuto, {}, {kRaw, kJpeg}},
      {RawLoadAs::k8, {}, {kPixels8, kRaw, kJpeg}},
      {RawLoadAs::k16, {}, {kPixels16, kRaw, kJpeg}},
      {RawLoadAs::k24, {}, {kRaw, kJpeg}},
      {RawLoadAs::k48HalfSize, {}, {kRaw, kJpeg}},
      {RawLoadAs::k48, {}, {kRaw, kJpeg}},
      {RawLoadAs::kAuto, {0, 640, 0}, {kRaw, kJpeg}},
      {RawLoadAs::kAuto, {0, 0, 480}, {kRaw, kJpeg}},
      {RawLoadAs::kAuto, {16, 640, 480}, {kRaw, kJpeg, kPixels16}},
      {RawLoadAs::k8, {0, 640, 480}, {kPixels8, kRaw, kJpeg, kPixels16}},
      {RawLoadAs::k48, {0, 640, 480}, {kRaw, kJpeg, kPixels16}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "code " << CodeOf(c.rawLoadAs) << ", " << c.geometry.width << " x "
                                      << c.geometry.height);
    EXPECT_EQ(DecodeOrder({c.rawLoadAs, c.geometry}), c.order);
  }
}

TEST(RawLoadFlags, FollowTheCodes) {
  const struct {
    RawLoadAs rawLoadAs;
    int flags;  // FreeImage's RAW_PREVIEW 1, RAW_DISPLAY 2, RAW_HALFSIZE 4
  } cases[] = {{RawLoadAs::kAuto, 1}, {RawLoadAs::k8, 0},          {RawLoadAs::k16, 0},
               {RawLoadAs::k24, 2},   {RawLoadAs::k48HalfSize, 4}, {RawLoadAs::k48, 0},
               // Codes no keyword names, as a configuration file may hold.
               {static_cast<RawLoadAs>(6), 0}, {static_cast<RawLoadAs>(-1), 0}};
  for (const auto& c : cases) EXPECT_EQ(RawLoadFlags(c.rawLoadAs), c.flags) << "code " << CodeOf(c.rawLoadAs);
}

struct DecodedShape {
  unsigned width, height, bpp;
};

DecodedShape ShapeOf(FIBITMAP* image) {
  return {FreeImage_GetWidth(image), FreeImage_GetHeight(image), FreeImage_GetBPP(image)};
}

class DecodeDng : public ::testing::Test {
 protected:
  // 256 x 192 sensor with a 128 x 96 preview; the same without a preview.
  void SetUp() override {
    DngContent content;
    content.width = 256;
    content.height = 192;
    ASSERT_TRUE(WriteDngFile(plain_, content));
    content.previewWidth = 128;
    content.previewHeight = 96;
    ASSERT_TRUE(WriteDngFile(withPreview_, content));
    fileSize_ = static_cast<double>(ReadFileBytes(withPreview_).size());
  }

  TempDir dir_;
  std::string plain_ = dir_ / "plain.dng";
  std::string withPreview_ = dir_ / "preview.dng";
  double fileSize_ = 0;
};

TEST_F(DecodeDng, EachLoadAsCodeGivesItsSizeAndDepth) {
  const auto side8 = static_cast<unsigned>(std::lround(std::sqrt(fileSize_)));
  const auto side16 = static_cast<unsigned>(std::lround(std::sqrt(fileSize_ / 2)));
  const struct {
    RawLoadAs rawLoadAs;
    DecodedShape shape;
  } cases[] = {
      {RawLoadAs::kAuto, {128, 96, 24}},       // the embedded preview
      {RawLoadAs::k8, {side8, side8, 8}},      // the file's bytes as a square of 8-bit pixels
      {RawLoadAs::k16, {side16, side16, 16}},  // and of 16-bit pixels
      {RawLoadAs::k24, {256, 192, 24}},
      {RawLoadAs::k48HalfSize, {128, 96, 48}},
      {RawLoadAs::k48, {256, 192, 48}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "code " << CodeOf(c.rawLoadAs));
    const UniqueBitmap image(DecodeInputImage(withPreview_, {c.rawLoadAs, {}}));
    ASSERT_NE(image, nullptr);
    const DecodedShape shape = ShapeOf(image.get());
    EXPECT_EQ(shape.width, c.shape.width);
    EXPECT_EQ(shape.height, c.shape.height);
    EXPECT_EQ(shape.bpp, c.shape.bpp);
  }
}

TEST_F(DecodeDng, AutoWithoutPreviewDecodesTheSensorAt24Bits) {
  const UniqueBitmap image(DecodeInputImage(plain_, {RawLoadAs::kAuto, {}}));
  ASSERT_NE(image, nullptr);
  const DecodedShape shape = ShapeOf(image.get());
  EXPECT_EQ(shape.width, 256U);
  EXPECT_EQ(shape.height, 192U);
  EXPECT_EQ(shape.bpp, 24U);
}

TEST_F(DecodeDng, HeaderlessCodeFallsBackToTheRawReaderWhenItsGeometryFails) {
  // A header as long as the file leaves no pixel data, so the RAW reader (with RAW_DEFAULT) decodes it.
  const RawPixelGeometry noData{static_cast<std::int32_t>(fileSize_), 0, 0};
  const UniqueBitmap image(DecodeInputImage(withPreview_, {RawLoadAs::k8, noData}));
  ASSERT_NE(image, nullptr);
  const DecodedShape shape = ShapeOf(image.get());
  EXPECT_EQ(shape.width, 256U);
  EXPECT_EQ(shape.height, 192U);
  EXPECT_EQ(shape.bpp, 48U);
}

TEST(DecodeInputImage, UnreadableFileFailsUnlessBothSidesAreSet) {
  TempDir dir;
  const std::string text = dir.WriteFile("notes.cr2", std::string(5000, 'x'));
  for (const RawLoadAs code : {RawLoadAs::kAuto, RawLoadAs::k24, RawLoadAs::k48}) {
    SCOPED_TRACE(::testing::Message() << "code " << CodeOf(code));
    EXPECT_EQ(UniqueBitmap(DecodeInputImage(text, {code, {}})), nullptr);
    EXPECT_EQ(UniqueBitmap(DecodeInputImage(text, {code, {0, 50, 0}})), nullptr);
    EXPECT_EQ(UniqueBitmap(DecodeInputImage(text, {code, {0, 0, 25}})), nullptr);
    const UniqueBitmap image(DecodeInputImage(text, {code, {0, 50, 25}}));
    ASSERT_NE(image, nullptr);
    const DecodedShape shape = ShapeOf(image.get());
    EXPECT_EQ(shape.width, 50U);
    EXPECT_EQ(shape.height, 25U);
    EXPECT_EQ(shape.bpp, 16U);
  }
}

TEST(DecodeInputImage, UnreadableFileWithBadGeometryFails) {
  TempDir dir;
  const std::string text = dir.WriteFile("notes.cr2", std::string(5000, 'x'));
  for (const RawPixelGeometry geometry : {RawPixelGeometry{-1, 50, 25}, RawPixelGeometry{0, -50, 25},
                                          RawPixelGeometry{0, INT32_MAX, INT32_MAX}, RawPixelGeometry{5000, 50, 25}}) {
    EXPECT_EQ(UniqueBitmap(DecodeInputImage(text, {RawLoadAs::kAuto, geometry})), nullptr);
    EXPECT_EQ(UniqueBitmap(DecodeInputImage(text, {RawLoadAs::k16, geometry})), nullptr);
  }
}

TEST(DecodeInputImage, JpegDataUnderARawNameDecodesThroughTheJpegReader) {
  TempDir dir;
  FIBITMAP* picture = FreeImage_Allocate(40, 30, 24);
  ASSERT_NE(picture, nullptr);
  const std::string path = dir / "photo.nef";
  ASSERT_TRUE(FreeImage_Save(FIF_JPEG, picture, path.c_str(), 0));
  FreeImage_Unload(picture);

  EXPECT_EQ(UniqueBitmap(DecodeWith(DecodeMethod::kCameraRaw, path, {})), nullptr);
  const UniqueBitmap image(DecodeInputImage(path, {}));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(FreeImage_GetWidth(image.get()), 40U);
  EXPECT_EQ(FreeImage_GetHeight(image.get()), 30U);
  EXPECT_EQ(FreeImage_GetBPP(image.get()), 24U);
}

TEST(DecodeInputImage, MissingFileFails) {
  TempDir dir;
  EXPECT_EQ(UniqueBitmap(DecodeInputImage(dir / "none.dng", {RawLoadAs::kAuto, {0, 10, 10}})), nullptr);
  EXPECT_EQ(UniqueBitmap(DecodeInputImage(dir / "none.dng", {RawLoadAs::k8, {}})), nullptr);
}

}  // namespace
}  // namespace lumivane::testing
