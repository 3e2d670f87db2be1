// The DNG writer used by tests and benchmarks: its files must be what FreeImage's RAW reader expects.
#include "dng/dng_writer.h"

#include <gtest/gtest.h>

#include <cstring>

#include "support/temp_dir.h"
#include "support/unique_bitmap.h"

namespace lumivane::testing {
namespace {

DngContent Content(std::int64_t width, std::int64_t height, std::int64_t previewWidth = 0,
                   std::int64_t previewHeight = 0) {
  DngContent content;
  content.width = width;
  content.height = height;
  content.previewWidth = previewWidth;
  content.previewHeight = previewHeight;
  return content;
}

TEST(DngWriter, RefusesSizesItCannotWrite) {
  const struct {
    const char* name;
    DngContent content;
  } cases[] = {
      {"zero width", Content(0, 10)},
      {"negative height", Content(10, -1)},
      {"preview without height", Content(10, 10, 5, 0)},
      {"negative preview", Content(10, 10, -5, -5)},
      {"preview too large for JPEG", Content(10, 10, 70000, 10)},
      {"beyond 32-bit offsets", Content(70000, 70000)},
      {"side beyond 32 bits", Content(std::int64_t{1} << 33, 1)},
      {"product overflows 64 bits", Content(std::int64_t{1} << 40, std::int64_t{1} << 40)},
  };
  for (const auto& c : cases) EXPECT_FALSE(MakeDngBytes(c.content).has_value()) << c.name;
}

TEST(DngWriter, SameSeedSameFileOtherSeedOtherPixels) {
  DngContent content = Content(32, 16);
  const auto first = MakeDngBytes(content);
  const auto again = MakeDngBytes(content);
  content.seed = 2;
  const auto other = MakeDngBytes(content);
  ASSERT_TRUE(first && again && other);
  EXPECT_EQ(*first, *again);
  EXPECT_EQ(first->size(), other->size());
  EXPECT_NE(*first, *other);
  // The sensor strip closes the file: 32 x 16 little-endian 16-bit values.
  const std::size_t strip = first->size() - 32 * 16 * 2;
  for (const auto& [x, y] : {std::pair{0, 0}, std::pair{31, 0}, std::pair{5, 9}, std::pair{31, 15}}) {
    const auto at = static_cast<unsigned char>((*first)[strip + 2 * (y * 32 + x)]) |
                    static_cast<unsigned char>((*first)[strip + 2 * (y * 32 + x) + 1]) << 8;
    EXPECT_EQ(at, DngSensorValue(Content(32, 16), x, y));
    EXPECT_GE(at, kDngBlackLevel);
    EXPECT_LE(at, kDngWhiteLevel);
  }
}

TEST(DngWriter, SensorDecodesAt48BitsAndPreviewWithItsComment) {
  TempDir dir;
  DngContent content = Content(120, 80, 60, 40);
  content.previewComment = "made for a test";
  const std::string path = dir / "a.dng";
  ASSERT_TRUE(WriteDngFile(path, content));
  EXPECT_EQ(ReadFileBytes(path), *MakeDngBytes(content));

  const UniqueBitmap full(FreeImage_Load(FIF_RAW, path.c_str(), RAW_DEFAULT));
  ASSERT_NE(full, nullptr);
  EXPECT_EQ(FreeImage_GetWidth(full.get()), 120U);
  EXPECT_EQ(FreeImage_GetHeight(full.get()), 80U);
  EXPECT_EQ(FreeImage_GetBPP(full.get()), 48U);
  EXPECT_EQ(FreeImage_GetImageType(full.get()), FIT_RGB16);

  const UniqueBitmap preview(FreeImage_Load(FIF_RAW, path.c_str(), RAW_PREVIEW));
  ASSERT_NE(preview, nullptr);
  EXPECT_EQ(FreeImage_GetWidth(preview.get()), 60U);
  EXPECT_EQ(FreeImage_GetHeight(preview.get()), 40U);
  EXPECT_EQ(FreeImage_GetBPP(preview.get()), 24U);
  FITAG* comment = nullptr;
  ASSERT_TRUE(FreeImage_GetMetadata(FIMD_COMMENTS, preview.get(), "Comment", &comment));
  EXPECT_STREQ(static_cast<const char*>(FreeImage_GetTagValue(comment)), "made for a test");
}

TEST(DngWriter, RedRisesToTheRightAndBlueDownwards) {
  TempDir dir;
  const std::string path = dir / "a.dng";
  ASSERT_TRUE(WriteDngFile(path, Content(200, 200)));
  const UniqueBitmap full(FreeImage_Load(FIF_RAW, path.c_str(), RAW_DEFAULT));
  ASSERT_NE(full, nullptr);
  auto at = [&](unsigned x, unsigned yFromTop) {
    return reinterpret_cast<const FIRGB16*>(FreeImage_GetScanLine(full.get(), 199 - yFromTop))[x];
  };
  EXPECT_LT(at(10, 100).red, at(190, 100).red);
  EXPECT_LT(at(100, 10).blue, at(100, 190).blue);
}

TEST(DngWriter, Writes24MegapixelsForBenchmarks) {
  TempDir dir;
  const std::string path = dir / "big.dng";
  ASSERT_TRUE(WriteDngFile(path, Content(6000, 4000, 1500, 1000)));
  // Header only: a full decode of 24 megapixels takes seconds.
  const UniqueBitmap header(FreeImage_Load(FIF_RAW, path.c_str(), FIF_LOAD_NOPIXELS));
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(FreeImage_GetWidth(header.get()), 6000U);
  EXPECT_EQ(FreeImage_GetHeight(header.get()), 4000U);
  const UniqueBitmap preview(FreeImage_Load(FIF_RAW, path.c_str(), RAW_PREVIEW));
  ASSERT_NE(preview, nullptr);
  EXPECT_EQ(FreeImage_GetWidth(preview.get()), 1500U);
  EXPECT_EQ(FreeImage_GetHeight(preview.get()), 1000U);
}

}  // namespace
}  // namespace lumivane::testing
