// Real camera files from the shared sample folder decode at the sizes FreeImage reports for them.
#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>

#include "pipeline/decode.h"
#include "support/run_program.h"
#include "support/unique_bitmap.h"

namespace lumivane::testing {
namespace {

struct CameraSample {
  const char* file;
  unsigned fullWidth, fullHeight;        // RAW_DEFAULT, 48-bit
  unsigned previewWidth, previewHeight;  // RAW_PREVIEW, 24-bit (the full image where the camera stores no preview)
};

const CameraSample kCameraSamples[] = {
    {"Canon_EOS-D30_RAW_CANON_D30_SRGB.CRW", 2176, 1448, 1440, 960},
    {"Canon_PowerShot-G2_CRW_0304.CRW", 2312, 1720, 640, 480},
    {"Canon_PowerShot-S40_CRW_0101.CRW", 2312, 1720, 640, 480},
    {"Canon_PowerShot-S40_CRW_0119.CRW", 2312, 1720, 640, 480},
    {"Canon_EOS-Kiss-X4-MagicLantern_colorchart.dng", 1734, 1156, 1734, 1156},
    {"Blackmagic_PocketCinema4K_Blackmagic.dng", 4128, 2176, 4128, 2176},
    {"Kodak_C330_RAW_KODAK_C330_FORMAT_NONE_YRGB.raw", 1216, 912, 1216, 912},
    {"Kodak_DC50_RAW_KODAK_DC50.KDC", 768, 512, 96, 64},
    {"Kodak_DC50_DC0008L.KDC", 768, 512, 96, 64},
    {"Kodak_DC50_DC0010S.KDC", 768, 512, 96, 64},
    {"Kodak_DC120_P003908.KDC", 1301, 976, 80, 60},
    {"Kodak_DC120_P003912.KDC", 1301, 976, 80, 60},
    {"Apple_QuickTake100_TEST100.QTK", 640, 480, 640, 480},
    {"Apple_QuickTake100_IMAGE01.QTK", 320, 240, 320, 240},
    {"Apple_QuickTake150_TEST150.QTK", 640, 480, 640, 480},
};

void PrintTo(const CameraSample& sample, std::ostream* out) { *out << sample.file; }

std::string SamplePath(const std::string& folder, const std::string& file) {
  const std::string samples = SamplesDir();
  return samples.empty() ? "" : samples + "/" + folder + "/" + file;
}

void ExpectShape(FIBITMAP* image, unsigned width, unsigned height, unsigned bpp) {
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(FreeImage_GetWidth(image), width);
  EXPECT_EQ(FreeImage_GetHeight(image), height);
  EXPECT_EQ(FreeImage_GetBPP(image), bpp);
}

class DecodeCameraSample : public ::testing::TestWithParam<CameraSample> {};

TEST_P(DecodeCameraSample, AutoGivesThePreviewAnd48GivesTheFullImage) {
  const CameraSample& sample = GetParam();
  const std::string path = SamplePath("camera", sample.file);
  if (path.empty()) GTEST_SKIP() << "no shared sample folder";
  {
    SCOPED_TRACE("AUTO");
    const OwnedBitmap preview = DecodeInputImage(path, {RawLoadAs::kAuto, {}}).image;
    ExpectShape(preview.get(), sample.previewWidth, sample.previewHeight, 24);
  }
  {
    SCOPED_TRACE("48");
    const OwnedBitmap full = DecodeInputImage(path, {RawLoadAs::k48, {}}).image;
    ExpectShape(full.get(), sample.fullWidth, sample.fullHeight, 48);
  }
}

std::string SampleName(const ::testing::TestParamInfo<CameraSample>& info) {
  std::string name = info.param.file;
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Camera, DecodeCameraSample, ::testing::ValuesIn(kCameraSamples), SampleName);

TEST(DecodeOddSample, JpegDataUnderANefNameDecodesThroughTheJpegReader) {
  const std::string path = SamplePath("odd", "jpeg-data-named.nef");
  if (path.empty()) GTEST_SKIP() << "no shared sample folder";
  EXPECT_EQ(DecodeWith(DecodeMethod::kCameraRaw, path, {}).image, nullptr);
  const OwnedBitmap viaJpeg = DecodeWith(DecodeMethod::kJpeg, path, {}).image;
  ASSERT_NE(viaJpeg, nullptr);
  const OwnedBitmap decoded = DecodeInputImage(path, {}).image;
  ExpectShape(decoded.get(), FreeImage_GetWidth(viaJpeg.get()), FreeImage_GetHeight(viaJpeg.get()), 24);
}

TEST(DecodeOddSample, DamagedFilesFailCleanly) {
  for (const char* file : {"truncated.cr2", "pruned.crw"}) {
    const std::string path = SamplePath("odd", file);
    if (path.empty()) GTEST_SKIP() << "no shared sample folder";
    for (const RawLoadAs code : {RawLoadAs::kAuto, RawLoadAs::k24, RawLoadAs::k48HalfSize, RawLoadAs::k48}) {
      EXPECT_EQ(DecodeInputImage(path, {code, {}}).image, nullptr) << file << ", code " << CodeOf(code);
    }
  }
}

TEST(DecodeOddSample, DamagedFileBecomesHeaderlessPixelsOnlyWithBothSidesSet) {
  const std::string path = SamplePath("odd", "truncated.cr2");
  if (path.empty()) GTEST_SKIP() << "no shared sample folder";
  const OwnedBitmap image = DecodeInputImage(path, {RawLoadAs::kAuto, {0, 160, 128}}).image;
  ExpectShape(image.get(), 160, 128, 16);
}

TEST(DecodeOddSample, DngWithoutPixelDataIsDamagedInEveryMode) {
  // The library would decode it all black without an error; its tables declare tiles past the end of the file.
  const std::string path = SamplePath("odd", "pixels-stripped.dng");
  if (path.empty()) GTEST_SKIP() << "no shared sample folder";
  for (const RawLoadAs code : {RawLoadAs::kAuto, RawLoadAs::k24, RawLoadAs::k48, RawLoadAs::k24HalfSize}) {
    const DecodeResult decoded = DecodeInputImage(path, {code, {0, 100, 100}});
    EXPECT_TRUE(decoded.rawDataCut && !decoded.image) << "code " << CodeOf(code);
  }
}

}  // namespace
}  // namespace lumivane::testing
