#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "formats/bit_depth_list.h"
#include "formats/registry.h"
#include "pipeline/encode_image.h"
#include "pipeline/encode_support.h"
#include "pipeline/encoder_setup.h"
#include "pipeline/output_depth.h"
#include "support/temp_dir.h"

namespace lumivane::testing {
namespace {

constexpr int kAutomatic = 0;

struct FormatDepth {
  std::string format;
  int depth;  // kAutomatic: the nearest allowed depth to the source's 24 bits
};

std::vector<FormatDepth> EveryFormatAndDepth() {
  std::vector<FormatDepth> cases;
  for (const OutputFormat& row : OutputFormatTable()) {
    const BitDepthList depths = ParseBitDepthList(row.allowedBitDepths);
    for (std::size_t i = 0; i < depths.count; ++i) cases.push_back({std::string(row.identifier), depths.values[i]});
    cases.push_back({std::string(row.identifier), kAutomatic});
  }
  return cases;
}

// How the written picture looks: FreeImage's reductions to 4 bits and the 8-bit reduction of the JPEG family give
// greys, pgm holds greys, 1 bit gives dithered black and white.
enum class Look { kColour, kGrey, kBlackWhite };

Look ExpectedLook(const std::string& format, int depth) {
  if (depth == 1) return Look::kBlackWhite;
  if (depth == 4 || format == "pgm") return Look::kGrey;
  if (depth == 8 && (format == "j2k" || format == "jp2" || format == "jpg" || format == "jxr")) return Look::kGrey;
  return Look::kColour;
}

void ExpectLooksLikeQuadrants(const DecodedImage& decoded, Look look, const std::string& label) {
  for (const Quadrant& quadrant : kQuadrants) {
    const std::array<int, 3> mean = decoded.MeanAround(quadrant.centreX, quadrant.centreY);
    SCOPED_TRACE(label + " quadrant " + std::to_string(quadrant.rgb[0]) + "," + std::to_string(quadrant.rgb[1]) +
                 "," + std::to_string(quadrant.rgb[2]) + " read " + std::to_string(mean[0]) + "," +
                 std::to_string(mean[1]) + "," + std::to_string(mean[2]));
    if (look == Look::kColour) {
      for (int c = 0; c < 3; ++c) EXPECT_NEAR(mean[c], quadrant.rgb[c], 40);
    } else {
      const int tolerance = look == Look::kGrey ? 24 : 48;
      for (int c = 0; c < 3; ++c) EXPECT_NEAR(mean[c], GreyOf(quadrant.rgb), tolerance);
    }
  }
}

// FreeImage's XPM reader hands back images of up to 256 colours as 8-bit palettised bitmaps.
int ExpectedReadBackDepth(const std::string& format, int depth) { return format == "xpm" ? 8 : depth; }

class EncodeEveryFormat : public ::testing::TestWithParam<FormatDepth> {};

TEST_P(EncodeEveryFormat, WritesAFileThatReadsBackWithItsSizeDepthAndPicture) {
  InitialiseEncoders();
  const FormatDepth& param = GetParam();
  ASSERT_NE(FindOutputFormat(param.format), nullptr);
  // Icons must be square.
  const unsigned width = param.format == "ico" ? 40 : 64;
  const unsigned height = 40;
  int depth = param.depth;
  std::unique_ptr<FIBITMAP, BitmapDeleter> image(ConvertToOutputDepth(
      MakeQuadrantImage(width, height), FormatRow(param.format), depth, param.depth == kAutomatic, 24));
  ASSERT_NE(image, nullptr);
  if (param.depth == kAutomatic) EXPECT_EQ(depth, NearestAllowedBitDepth(param.format, 24));
  EXPECT_EQ(static_cast<int>(FreeImage_GetBPP(image.get())), depth);
  // Not fully opaque, so that no encoder may leave the alpha channel out.
  if (depth == 32) SetAlpha(image.get(), 200);

  TempDir dir;
  const std::string folder = dir.path().string() + "/";
  const EncodeRequest request = RequestFor(param.format, depth, param.format == "jxr" ? 100 : 0);
  const std::string path = EncodeToFile(image.get(), request, folder);
  ASSERT_EQ(path, OutputPathIn(folder, param.format));
  EXPECT_EQ(FolderEntries(dir.path().string()), std::vector<std::string>{"out." + param.format});

  const DecodedImage decoded = ReadOutput(path, param.format);
  ASSERT_TRUE(decoded.ok);
  EXPECT_EQ(decoded.width, width);
  EXPECT_EQ(decoded.height, height);
  EXPECT_EQ(decoded.bitsPerPixel, ExpectedReadBackDepth(param.format, depth));
  ExpectLooksLikeQuadrants(decoded, ExpectedLook(param.format, depth), param.format);
}

INSTANTIATE_TEST_SUITE_P(AllowedDepths, EncodeEveryFormat, ::testing::ValuesIn(EveryFormatAndDepth()),
                         [](const ::testing::TestParamInfo<FormatDepth>& info) {
                           return info.param.format + "_" +
                                  (info.param.depth == kAutomatic ? std::string("auto")
                                                                  : std::to_string(info.param.depth));
                         });

// Reads back the written file with FreeImage as it is (no conversion).
std::unique_ptr<FIBITMAP, BitmapDeleter> WriteAndLoad(const std::string& format, int depth) {
  InitialiseEncoders();
  TempDir dir;
  int outputDepth = depth;
  std::unique_ptr<FIBITMAP, BitmapDeleter> image(
      ConvertToOutputDepth(MakeQuadrantImage(64, 40), FormatRow(format), outputDepth, false, 24));
  if (image == nullptr) return nullptr;
  const std::string path = EncodeToFile(image.get(), RequestFor(format, depth, 0), dir.path().string() + "/");
  if (path.empty()) return nullptr;
  return std::unique_ptr<FIBITMAP, BitmapDeleter>(
      FreeImage_Load(static_cast<FREE_IMAGE_FORMAT>(FormatRow(format).encoderTypeId), path.c_str(), 0));
}

TEST(EncodedDepths, SixteenBitsAreFiveFiveFiveInTgaAndFiveSixFiveInBmp) {
  const auto tga = WriteAndLoad("tga", 16);
  const auto bmp = WriteAndLoad("bmp", 16);
  ASSERT_TRUE(tga && bmp);
  EXPECT_EQ(FreeImage_GetBPP(tga.get()), 16u);
  EXPECT_EQ(FreeImage_GetGreenMask(tga.get()), static_cast<unsigned>(FI16_555_GREEN_MASK));
  EXPECT_EQ(FreeImage_GetBPP(bmp.get()), 16u);
  EXPECT_EQ(FreeImage_GetGreenMask(bmp.get()), static_cast<unsigned>(FI16_565_GREEN_MASK));
}

TEST(EncodedDepths, EightBitPngIsAColourPaletteAndEightBitJpgIsGrey) {
  const auto png = WriteAndLoad("png", 8);
  const auto jpg = WriteAndLoad("jpg", 8);
  ASSERT_TRUE(png && jpg);
  EXPECT_EQ(FreeImage_GetBPP(png.get()), 8u);
  EXPECT_EQ(FreeImage_GetColorType(png.get()), FIC_PALETTE);
  EXPECT_EQ(FreeImage_GetBPP(jpg.get()), 8u);
  EXPECT_EQ(FreeImage_GetColorType(jpg.get()), FIC_MINISBLACK);
}

}  // namespace
}  // namespace lumivane::testing
