#include "pipeline/raw_pixels.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <cstdint>
#include <string>

#include "support/temp_dir.h"
#include "support/unique_bitmap.h"

namespace lumivane::testing {
namespace {

constexpr std::uint64_t kPlenty = std::uint64_t{1} << 40;

struct PlanCase {
  const char* name;
  std::int64_t fileSize;
  int mode;
  RawPixelGeometry geometry;
  std::int32_t width, height, rowBytes;
  std::uint64_t imageBytes, bytesToRead;
};

TEST(PlanRawPixelData, SizesTheImage) {
  const PlanCase cases[] = {
      {"square 8-bit", 1000000, kRawPixels8, {0, 0, 0}, 1000, 1000, 1000, 1000000, 1000000},
      {"square 16-bit rounds sqrt(500000)", 1000000, kRawPixels16, {0, 0, 0}, 707, 707, 1414, 999698, 999698},
      {"width alone is not enough", 1000000, kRawPixels8, {0, 1000, 0}, 1000, 1000, 1000, 1000000, 1000000},
      {"height alone is not enough", 1000000, kRawPixels8, {0, 0, 10}, 1000, 1000, 1000, 1000000, 1000000},
      {"header skipped", 1000100, kRawPixels8, {100, 0, 0}, 1000, 1000, 1000, 1000000, 1000000},
      {"short file padded", 10000, kRawPixels16, {0, 100, 100}, 100, 100, 200, 20000, 10000},
      {"long file cut", 50000, kRawPixels16, {0, 100, 100}, 100, 100, 200, 20000, 20000},
      {"one byte still makes a pixel", 1, kRawPixels16, {0, 0, 0}, 1, 1, 2, 2, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto layout = PlanRawPixelData(c.fileSize, c.mode, c.geometry, kPlenty);
    ASSERT_TRUE(layout.has_value());
    EXPECT_EQ(layout->width, c.width);
    EXPECT_EQ(layout->height, c.height);
    EXPECT_EQ(layout->bitsPerPixel, c.mode == kRawPixels8 ? 8U : 16U);
    EXPECT_EQ(layout->rowBytes, c.rowBytes);
    EXPECT_EQ(layout->imageBytes, c.imageBytes);
    EXPECT_EQ(layout->bytesToRead, c.bytesToRead);
  }
}

struct RefusalCase {
  const char* name;
  std::int64_t fileSize;
  int mode;
  RawPixelGeometry geometry;
  std::uint64_t memoryLimit;
};

TEST(PlanRawPixelData, RefusesGeometryItCannotHonour) {
  const RefusalCase cases[] = {
      {"unknown mode 0", 1000, 0, {0, 0, 0}, kPlenty},
      {"unknown mode 3", 1000, 3, {0, 0, 0}, kPlenty},
      {"negative header", 1000, kRawPixels8, {-1, 10, 10}, kPlenty},
      {"negative width", 1000, kRawPixels8, {0, -10, 10}, kPlenty},
      {"negative height", 1000, kRawPixels8, {0, 10, -10}, kPlenty},
      {"negative width, square otherwise", 1000, kRawPixels8, {0, -10, 0}, kPlenty},
      {"empty file", 0, kRawPixels8, {0, 0, 0}, kPlenty},
      {"header as long as the file", 1000, kRawPixels8, {1000, 10, 10}, kPlenty},
      {"header longer than the file", 1000, kRawPixels16, {INT32_MAX, 10, 10}, kPlenty},
      {"largest sides overflow 32-bit sizes", 1000, kRawPixels16, {0, INT32_MAX, INT32_MAX}, kPlenty},
      {"row of 2^31 bits", 1000, kRawPixels16, {0, 1 << 27, 1}, kPlenty},
      {"3.2 GB of pixels", 1000, kRawPixels16, {0, 40000, 40000}, kPlenty},
      {"more than memory allows", 1000000, kRawPixels8, {0, 0, 0}, 1999999},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(PlanRawPixelData(c.fileSize, c.mode, c.geometry, c.memoryLimit).has_value());
  }
}

TEST(PlanRawPixelData, CountsDataBufferAndBitmapAgainstMemory) {
  // 1000 x 1000 at 8 bits: one million bytes of data and one million of bitmap.
  EXPECT_TRUE(PlanRawPixelData(1000000, kRawPixels8, {0, 0, 0}, 2000000).has_value());
  EXPECT_FALSE(PlanRawPixelData(1000000, kRawPixels8, {0, 0, 0}, 1999999).has_value());
}

// Bytes whose value says where they are, so misplaced rows show.
std::string PatternBytes(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + i / 251) % 256);
  return bytes;
}

// The image row counted from the top; FreeImage stores rows bottom-up.
const BYTE* TopRow(FIBITMAP* image, unsigned row) {
  return FreeImage_GetScanLine(image, static_cast<int>(FreeImage_GetHeight(image) - 1 - row));
}

TEST(LoadRawPixelData, MillionBytesAs8BitSquare) {
  TempDir dir;
  const std::string bytes = PatternBytes(1000000);
  const UniqueBitmap image(LoadRawPixelData(dir.WriteFile("a.raw", bytes), kRawPixels8, {}));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(FreeImage_GetWidth(image.get()), 1000U);
  EXPECT_EQ(FreeImage_GetHeight(image.get()), 1000U);
  EXPECT_EQ(FreeImage_GetBPP(image.get()), 8U);
  // The first bytes are the top row, the last the bottom row.
  EXPECT_EQ(0, std::memcmp(TopRow(image.get(), 0), bytes.data(), 1000));
  EXPECT_EQ(0, std::memcmp(TopRow(image.get(), 1), bytes.data() + 1000, 1000));
  EXPECT_EQ(0, std::memcmp(TopRow(image.get(), 999), bytes.data() + 999000, 1000));
}

TEST(LoadRawPixelData, MillionBytesAs16BitSquare) {
  TempDir dir;
  const std::string bytes = PatternBytes(1000000);
  const UniqueBitmap image(LoadRawPixelData(dir.WriteFile("a.raw", bytes), kRawPixels16, {}));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(FreeImage_GetWidth(image.get()), 707U);
  EXPECT_EQ(FreeImage_GetHeight(image.get()), 707U);
  EXPECT_EQ(FreeImage_GetBPP(image.get()), 16U);
  EXPECT_EQ(FreeImage_GetRedMask(image.get()), 0xF800U);
  EXPECT_EQ(FreeImage_GetGreenMask(image.get()), 0x07E0U);
  EXPECT_EQ(FreeImage_GetBlueMask(image.get()), 0x001FU);
  EXPECT_EQ(0, std::memcmp(TopRow(image.get(), 0), bytes.data(), 1414));
  EXPECT_EQ(0, std::memcmp(TopRow(image.get(), 706), bytes.data() + 706 * 1414, 1414));
}

TEST(LoadRawPixelData, SkipsHeaderAndPadsShortDataWithBlack) {
  TempDir dir;
  const std::string header(64, 'H');
  const std::string pixels = PatternBytes(10000);
  const UniqueBitmap image(LoadRawPixelData(dir.WriteFile("a.raw", header + pixels), kRawPixels16, {64, 100, 100}));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(FreeImage_GetWidth(image.get()), 100U);
  EXPECT_EQ(FreeImage_GetHeight(image.get()), 100U);
  // 100 rows of 200 bytes: the file fills rows 0 to 49, rows 50 to 99 are zero.
  EXPECT_EQ(0, std::memcmp(TopRow(image.get(), 0), pixels.data(), 200));
  EXPECT_EQ(0, std::memcmp(TopRow(image.get(), 49), pixels.data() + 49 * 200, 200));
  const std::string zeros(200, '\0');
  for (unsigned row = 50; row < 100; ++row) {
    ASSERT_EQ(0, std::memcmp(TopRow(image.get(), row), zeros.data(), 200)) << "row " << row;
  }
}

TEST(LoadRawPixelData, GivesNoImageForUnusableFilesOrGeometry) {
  TempDir dir;
  const std::string path = dir.WriteFile("a.raw", PatternBytes(1000));
  const std::string empty = dir.WriteFile("empty.raw", "");
  const struct {
    const char* name;
    std::string path;
    int mode;
    RawPixelGeometry geometry;
  } cases[] = {
      {"missing file", dir / "missing.raw", kRawPixels8, {}},
      {"a folder", dir.path().string(), kRawPixels8, {}},
      {"empty file", empty, kRawPixels16, {}},
      {"unknown mode", path, 5, {}},
      {"negative header", path, kRawPixels16, {-2, 10, 10}},
      {"negative width", path, kRawPixels16, {0, -10, 10}},
      {"negative height", path, kRawPixels8, {0, 10, -10}},
      {"header past the end", path, kRawPixels8, {1000, 10, 10}},
      {"overflowing sides", path, kRawPixels16, {0, INT32_MAX, INT32_MAX}},
      {"too large", path, kRawPixels16, {0, 40000, 40000}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const UniqueBitmap image(LoadRawPixelData(c.path, c.mode, c.geometry));
    EXPECT_EQ(image, nullptr);
  }
}

}  // namespace
}  // namespace lumivane::testing
