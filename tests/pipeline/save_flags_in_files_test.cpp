#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "pipeline/encode_image.h"
#include "pipeline/encode_support.h"
#include "pipeline/encoder_setup.h"
#include "pipeline/jxr_reader.h"
#include "pipeline/output_depth.h"
#include "support/temp_dir.h"

namespace lumivane::testing {
namespace {

using Bitmap = std::unique_ptr<FIBITMAP, BitmapDeleter>;

// FreeImage's public flag values, as the batch computes them.
constexpr int kJpegProgressive = 0x2000;
constexpr int kJpegSubsampling420 = 0x4000;
constexpr int kJpegSubsampling444 = 0x10000;
constexpr int kBmpRle = 1;
constexpr int kTiffLzw = 0x4000;
constexpr int kTiffNone = 0x800;
constexpr int kPngInterlaced = 0x200;
constexpr int kWebpLossless = 0x100;

// Encodes the quadrant picture (or noise), converted to depth, with the flags; returns the output file's bytes.
std::string Written(const std::string& format, int depth, int flags, bool noise = false) {
  InitialiseEncoders();
  int outputDepth = depth;
  Bitmap image(ConvertToOutputDepth(noise ? MakeNoiseImage(64, 48) : MakeQuadrantImage(64, 48), FormatRow(format),
                                    outputDepth, false, 24));
  if (image == nullptr) return "";
  const std::optional<std::vector<unsigned char>> bytes =
      EncodeImageFile(image.get(), RequestFor(format, depth, flags));
  return bytes ? std::string(bytes->begin(), bytes->end()) : "";
}

unsigned Byte(const std::string& bytes, std::size_t at) { return static_cast<unsigned char>(bytes.at(at)); }
unsigned BigEndian16(const std::string& bytes, std::size_t at) { return Byte(bytes, at) << 8 | Byte(bytes, at + 1); }
unsigned LittleEndian16(const std::string& bytes, std::size_t at) { return Byte(bytes, at) | Byte(bytes, at + 1) << 8; }
std::uint32_t LittleEndian32(const std::string& bytes, std::size_t at) {
  return LittleEndian16(bytes, at) | static_cast<std::uint32_t>(LittleEndian16(bytes, at + 2)) << 16;
}

struct StartOfFrame {
  unsigned marker;                 // 0xC0 baseline, 0xC1 extended, 0xC2 progressive
  std::vector<unsigned> sampling;  // per component: horizontal << 4 | vertical
};

// Walks the JPEG segments up to the first start-of-frame.
std::optional<StartOfFrame> FirstStartOfFrame(const std::string& jpeg) {
  std::size_t at = 2;
  while (at + 4 <= jpeg.size() && Byte(jpeg, at) == 0xFF) {
    const unsigned marker = Byte(jpeg, at + 1);
    const unsigned length = BigEndian16(jpeg, at + 2);
    if (marker >= 0xC0 && marker <= 0xC2) {
      StartOfFrame frame{marker, {}};
      const unsigned components = Byte(jpeg, at + 9);
      for (unsigned i = 0; i < components; ++i) frame.sampling.push_back(Byte(jpeg, at + 10 + 3 * i + 1));
      return frame;
    }
    at += 2 + length;
  }
  return std::nullopt;
}

TEST(SaveFlagsInFiles, ProgressiveJpegHasAProgressiveFrame) {
  const auto progressive = FirstStartOfFrame(Written("jpg", 24, 90 | kJpegSubsampling444 | kJpegProgressive));
  const auto standard = FirstStartOfFrame(Written("jpg", 24, 90 | kJpegSubsampling444));
  ASSERT_TRUE(progressive && standard);
  EXPECT_EQ(progressive->marker, 0xC2u);
  EXPECT_NE(standard->marker, 0xC2u);
}

TEST(SaveFlagsInFiles, JpegChromaSubsamplingShowsInTheSamplingFactors) {
  const auto halved = FirstStartOfFrame(Written("jpg", 24, 90 | kJpegSubsampling420));
  const auto full = FirstStartOfFrame(Written("jpg", 24, 90 | kJpegSubsampling444));
  ASSERT_TRUE(halved && full);
  EXPECT_EQ(halved->sampling, (std::vector<unsigned>{0x22, 0x11, 0x11}));
  EXPECT_EQ(full->sampling, (std::vector<unsigned>{0x11, 0x11, 0x11}));
}

TEST(SaveFlagsInFiles, EightBitJpegIsGreyscale) {
  const auto frame = FirstStartOfFrame(Written("jpg", 8, 90));
  ASSERT_TRUE(frame);
  EXPECT_EQ(frame->sampling.size(), 1u);
}

TEST(SaveFlagsInFiles, RleBmpHasCompressionOneInItsHeader) {
  const std::string rle = Written("bmp", 8, kBmpRle);
  const std::string plain = Written("bmp", 8, 0);
  ASSERT_GE(rle.size(), 54u);
  ASSERT_GE(plain.size(), 54u);
  EXPECT_EQ(LittleEndian32(rle, 30), 1u);  // BI_RLE8
  EXPECT_EQ(LittleEndian32(plain, 30), 0u);
}

// The Compression tag (259) of the first IFD of a little-endian TIFF.
std::optional<unsigned> TiffCompression(const std::string& tiff) {
  if (tiff.size() < 8 || tiff.compare(0, 4, std::string("II*\0", 4)) != 0) return std::nullopt;
  const std::uint32_t ifd = LittleEndian32(tiff, 4);
  const unsigned entries = LittleEndian16(tiff, ifd);
  for (unsigned i = 0; i < entries; ++i) {
    const std::size_t entry = ifd + 2 + 12 * i;
    if (LittleEndian16(tiff, entry) == 259) return LittleEndian16(tiff, entry + 8);
  }
  return std::nullopt;
}

TEST(SaveFlagsInFiles, LzwTiffHasCompressionFiveInItsDirectory) {
  EXPECT_EQ(TiffCompression(Written("tiff", 24, kTiffLzw)), 5u);
  EXPECT_EQ(TiffCompression(Written("tiff", 24, kTiffNone)), 1u);
}

TEST(SaveFlagsInFiles, InterlacedPngHasTheInterlaceByteSet) {
  const std::string interlaced = Written("png", 24, 6 | kPngInterlaced);
  const std::string plain = Written("png", 24, 6);
  ASSERT_GE(interlaced.size(), 29u);
  ASSERT_GE(plain.size(), 29u);
  EXPECT_EQ(interlaced.substr(12, 4), "IHDR");
  EXPECT_EQ(Byte(interlaced, 28), 1u);
  EXPECT_EQ(Byte(plain, 28), 0u);
}

TEST(SaveFlagsInFiles, LosslessWebpIsAVp8lStream) {
  const std::string lossless = Written("webp", 24, kWebpLossless);
  const std::string lossy = Written("webp", 24, 75);
  ASSERT_GE(lossless.size(), 16u);
  ASSERT_GE(lossy.size(), 16u);
  EXPECT_EQ(lossless.substr(8, 8), "WEBPVP8L");
  EXPECT_EQ(lossy.substr(8, 8), "WEBPVP8 ");
}

// Decodes jxr bytes through a file, as jxrlib's decoder reads files.
DecodedImage DecodeJpegXr(const std::string& bytes) {
  TempDir dir;
  return ReadJpegXr(dir.WriteFile("in.jxr", bytes));
}

TEST(SaveFlagsInFiles, JpegXrOneHundredIsLosslessAndLowerValuesAreQualities) {
  const std::string lossless = Written("jxr", 24, 100, true);
  const std::string quality50 = Written("jxr", 24, 50, true);
  const std::string quality10 = Written("jxr", 24, 10, true);
  ASSERT_FALSE(lossless.empty());
  ASSERT_FALSE(quality50.empty());
  ASSERT_FALSE(quality10.empty());
  EXPECT_LT(quality50.size(), lossless.size());
  EXPECT_LT(quality10.size(), quality50.size());

  Bitmap source(MakeNoiseImage(64, 48));
  TempDir dir;
  ASSERT_TRUE(FreeImage_Save(FIF_PNG, source.get(), (dir / "noise.png").c_str(), 0));
  const DecodedImage original = ReadWithFreeImage(dir / "noise.png", FIF_PNG);
  EXPECT_EQ(DecodeJpegXr(lossless).rgb, original.rgb);
  EXPECT_NE(DecodeJpegXr(quality50).rgb, original.rgb);
}

}  // namespace
}  // namespace lumivane::testing
