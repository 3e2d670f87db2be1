#include "pipeline/decode.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "dng/dng_writer.h"
#include "pipeline/transform_images.h"
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
               {static_cast<RawLoadAs>(8), 0}, {static_cast<RawLoadAs>(-1), 0}};
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
      {RawLoadAs::k24HalfSize, {128, 96, 24}},
      {RawLoadAs::kFit, {256, 192, 24}},  // without a resize: the full size
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "code " << CodeOf(c.rawLoadAs));
    const OwnedBitmap image = DecodeInputImage(withPreview_, {c.rawLoadAs, {}}).image;
    ASSERT_NE(image, nullptr);
    const DecodedShape shape = ShapeOf(image.get());
    EXPECT_EQ(shape.width, c.shape.width);
    EXPECT_EQ(shape.height, c.shape.height);
    EXPECT_EQ(shape.bpp, c.shape.bpp);
  }
}

TEST_F(DecodeDng, AutoWithoutPreviewDecodesTheSensorAt24Bits) {
  const OwnedBitmap image = DecodeInputImage(plain_, {RawLoadAs::kAuto, {}}).image;
  ASSERT_NE(image, nullptr);
  const DecodedShape shape = ShapeOf(image.get());
  EXPECT_EQ(shape.width, 256U);
  EXPECT_EQ(shape.height, 192U);
  EXPECT_EQ(shape.bpp, 24U);
}

TEST_F(DecodeDng, HeaderlessCodeFallsBackToTheRawReaderWhenItsGeometryFails) {
  // A header as long as the file leaves no pixel data, so the RAW reader (with RAW_DEFAULT) decodes it.
  const RawPixelGeometry noData{static_cast<std::int32_t>(fileSize_), 0, 0};
  const OwnedBitmap image = DecodeInputImage(withPreview_, {RawLoadAs::k8, noData}).image;
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
    EXPECT_EQ(DecodeInputImage(text, {code, {}}).image, nullptr);
    EXPECT_EQ(DecodeInputImage(text, {code, {0, 50, 0}}).image, nullptr);
    EXPECT_EQ(DecodeInputImage(text, {code, {0, 0, 25}}).image, nullptr);
    const OwnedBitmap image = DecodeInputImage(text, {code, {0, 50, 25}}).image;
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
    EXPECT_EQ(DecodeInputImage(text, {RawLoadAs::kAuto, geometry}).image, nullptr);
    EXPECT_EQ(DecodeInputImage(text, {RawLoadAs::k16, geometry}).image, nullptr);
  }
}

TEST(DecodeInputImage, JpegDataUnderARawNameDecodesThroughTheJpegReader) {
  TempDir dir;
  FIBITMAP* picture = FreeImage_Allocate(40, 30, 24);
  ASSERT_NE(picture, nullptr);
  const std::string path = dir / "photo.nef";
  ASSERT_TRUE(FreeImage_Save(FIF_JPEG, picture, path.c_str(), 0));
  FreeImage_Unload(picture);

  EXPECT_EQ(DecodeWith(DecodeMethod::kCameraRaw, path, {}).image, nullptr);
  const OwnedBitmap image = DecodeInputImage(path, {}).image;
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(FreeImage_GetWidth(image.get()), 40U);
  EXPECT_EQ(FreeImage_GetHeight(image.get()), 30U);
  EXPECT_EQ(FreeImage_GetBPP(image.get()), 24U);
}

TEST(DecodeInputImage, MissingFileFails) {
  TempDir dir;
  EXPECT_EQ(DecodeInputImage(dir / "none.dng", {RawLoadAs::kAuto, {0, 10, 10}}).image, nullptr);
  EXPECT_EQ(DecodeInputImage(dir / "none.dng", {RawLoadAs::k8, {}}).image, nullptr);
}

// DNG files of ours cut short, with the preview before and after the sensor data: a cut in the sensor data fails
// as damaged in every mode that reads it, any other cut decodes exactly as the whole file.
class CutDng : public ::testing::TestWithParam<bool> {};

TEST_P(CutDng, FailsAsDamagedOnlyWhereTheSensorDataIsCut) {
  DngContent content{.width = 1536, .height = 1024, .previewWidth = 384, .previewHeight = 256};
  content.previewAfterSensor = GetParam();
  const std::string dng = MakeDngBytes(content).value();
  const std::uint64_t preview = dng.find("\xFF\xD8\xFF"), sensorBytes = 1536 * 1024 * 2;
  const std::uint64_t sensor = GetParam() ? preview - sensorBytes : dng.size() - sensorBytes;
  // Bytes kept, and whether the sensor data is among them.
  std::vector<std::pair<std::uint64_t, bool>> cuts = {
      {sensor + 4000, false}, {sensor + sensorBytes / 2, false}, {sensor + sensorBytes - 1, false}};
  if (GetParam()) cuts.insert(cuts.end(), {{sensor + sensorBytes, true}, {preview + 1000, true}});
  TempDir dir;
  const std::string whole = dir.WriteFile("whole.dng", dng);
  const OwnedBitmap full = DecodeInputImage(whole, {RawLoadAs::k24, {}}).image;
  for (const RawLoadAs mode :
       {RawLoadAs::kAuto, RawLoadAs::k24, RawLoadAs::k24HalfSize, RawLoadAs::k48, RawLoadAs::kFit}) {
    const OwnedBitmap expected = DecodeInputImage(whole, {mode, {}}).image;
    for (const auto& [keep, sensorWhole] : cuts) {
      SCOPED_TRACE(::testing::Message() << "code " << CodeOf(mode) << ", first " << keep << " bytes");
      const DecodeResult decoded = DecodeInputImage(dir.WriteFile("cut.dng", dng.substr(0, keep)), {mode, {}});
      // Only a whole preview (before the sensor data) stands in for the RAW data; a cut one is passed over for it.
      EXPECT_EQ(decoded.rawDataCut, !sensorWhole && !(mode == RawLoadAs::kAuto && !GetParam()));
      if (decoded.rawDataCut) continue;
      ASSERT_NE(decoded.image, nullptr);
      FIBITMAP* same = mode == RawLoadAs::kAuto && GetParam() ? full.get() : expected.get();
      EXPECT_EQ(FreeImage_GetWidth(decoded.image.get()), FreeImage_GetWidth(same));
      EXPECT_TRUE(PixelBytes(decoded.image.get()) == PixelBytes(same));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(PreviewBeforeOrAfterTheSensorData, CutDng, ::testing::Bool());

}  // namespace
}  // namespace lumivane::testing
