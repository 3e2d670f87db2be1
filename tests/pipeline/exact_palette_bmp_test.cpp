#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "pipeline/encode_image.h"
#include "pipeline/encode_support.h"
#include "pipeline/encoder_setup.h"
#include "pipeline/exact_palette_bmp.h"
#include "support/temp_dir.h"

namespace lumivane::testing {
namespace {

using Bitmap = std::unique_ptr<FIBITMAP, BitmapDeleter>;

constexpr unsigned kWidth = 40;
constexpr unsigned kHeight = 7;

// 8-bit palettised picture of 40 x 7 whose pixels use the indices 0 .. usedEntries - 1 in turn, row after row;
// entry i of the 256-entry palette is (i, 255 - i, 3i).
FIBITMAP* MakeIndexedImage(unsigned usedEntries) {
  FIBITMAP* image = FreeImage_Allocate(kWidth, kHeight, 8);
  RGBQUAD* palette = FreeImage_GetPalette(image);
  for (unsigned i = 0; i < 256; ++i) {
    palette[i].rgbRed = static_cast<BYTE>(i);
    palette[i].rgbGreen = static_cast<BYTE>(255 - i);
    palette[i].rgbBlue = static_cast<BYTE>(3 * i);
  }
  for (unsigned y = 0; y < kHeight; ++y) {
    BYTE* row = FreeImage_GetScanLine(image, static_cast<int>(y));
    for (unsigned x = 0; x < kWidth; ++x) row[x] = static_cast<BYTE>((x + kWidth * y) % usedEntries);
  }
  return image;
}

std::uint32_t LittleEndian32(const std::vector<unsigned char>& bytes, std::size_t at) {
  return bytes.at(at) | bytes.at(at + 1) << 8 | bytes.at(at + 2) << 16 | static_cast<std::uint32_t>(bytes.at(at + 3)) << 24;
}

// The ordinary 8-bit BMP encoding of the same image, for comparing pixel data.
std::vector<unsigned char> OrdinaryBmp(FIBITMAP* image, int flags) {
  std::vector<unsigned char> bytes;
  FIMEMORY* stream = FreeImage_OpenMemory(nullptr, 0);
  BYTE* data = nullptr;
  DWORD size = 0;
  if (FreeImage_SaveToMemory(FIF_BMP, image, stream, flags) && FreeImage_AcquireMemory(stream, &data, &size)) {
    bytes.assign(data, data + size);
  }
  FreeImage_CloseMemory(stream);
  return bytes;
}

struct PaletteCase {
  unsigned usedEntries;
  int compression;  // 0 plain, 1 RLE8 (also the save flag)
};

TEST(ExactPaletteBitmap, HoldsOnlyThePaletteEntriesUpToTheHighestIndexUsed) {
  for (const PaletteCase row : {PaletteCase{10, 0}, PaletteCase{10, 1}, PaletteCase{1, 0}, PaletteCase{256, 0},
                                PaletteCase{200, 1}}) {
    SCOPED_TRACE(std::to_string(row.usedEntries) + " entries, compression " + std::to_string(row.compression));
    const Bitmap image(MakeIndexedImage(row.usedEntries));
    const auto file = EncodeExactPaletteBitmap(image.get(), FIF_BMP, row.compression, row.compression);
    ASSERT_TRUE(file.has_value());
    const std::vector<unsigned char> ordinary = OrdinaryBmp(image.get(), row.compression);
    ASSERT_GT(ordinary.size(), kFullPaletteBmpPixelOffset);
    const std::uint32_t pixelBytes = static_cast<std::uint32_t>(ordinary.size() - kFullPaletteBmpPixelOffset);
    const std::uint32_t pixelOffset = 54 + 4 * row.usedEntries;

    EXPECT_EQ(file->at(0), 'B');
    EXPECT_EQ(file->at(1), 'M');
    EXPECT_EQ(LittleEndian32(*file, 2), pixelOffset + pixelBytes);
    EXPECT_EQ(LittleEndian32(*file, 6), 0u);
    EXPECT_EQ(LittleEndian32(*file, 10), pixelOffset);
    EXPECT_EQ(LittleEndian32(*file, 14), 40u);
    EXPECT_EQ(LittleEndian32(*file, 18), kWidth);
    EXPECT_EQ(LittleEndian32(*file, 22), kHeight);
    EXPECT_EQ(file->at(28), 8);
    EXPECT_EQ(LittleEndian32(*file, 30), static_cast<std::uint32_t>(row.compression));
    EXPECT_EQ(LittleEndian32(*file, 34), pixelBytes);
    EXPECT_EQ(LittleEndian32(*file, 38), LittleEndian32(ordinary, 38));  // resolution as the image has it
    EXPECT_EQ(LittleEndian32(*file, 46), row.usedEntries);
    EXPECT_EQ(LittleEndian32(*file, 50), row.usedEntries);
    ASSERT_EQ(file->size(), pixelOffset + pixelBytes);
    for (unsigned i = 0; i < row.usedEntries; ++i) {
      EXPECT_EQ(file->at(54 + 4 * i), static_cast<unsigned char>(3 * i));   // blue
      EXPECT_EQ(file->at(55 + 4 * i), static_cast<unsigned char>(255 - i));  // green
      EXPECT_EQ(file->at(56 + 4 * i), static_cast<unsigned char>(i));        // red
      EXPECT_EQ(file->at(57 + 4 * i), 0);
    }
    EXPECT_TRUE(std::equal(file->begin() + pixelOffset, file->end(), ordinary.begin() + kFullPaletteBmpPixelOffset));
  }
}

TEST(ExactPaletteBitmap, IndicesZeroToNineGiveAFortyBytePaletteAtOffsetNinetyFour) {
  InitialiseEncoders();
  const Bitmap image(MakeIndexedImage(10));
  for (const int compression : {0, 1}) {
    SCOPED_TRACE("compression " + std::to_string(compression));
    TempDir dir;
    EncodeRequest request = RequestFor(dir.path().string() + "/", "bmp", 8, compression);
    request.bmpColorTable = kBmpColorTableExact;
    request.bmpCompression = compression;
    ASSERT_TRUE(EncodeImage(image.get(), nullptr, request));
    EXPECT_EQ(FolderEntries(dir.path().string()), std::vector<std::string>{"out.bmp"});
    const std::string bytes = ReadFileBytes(request.outputPath);
    const std::vector<unsigned char> file(bytes.begin(), bytes.end());
    EXPECT_EQ(LittleEndian32(file, 10), 94u);
    EXPECT_EQ(LittleEndian32(file, 30), static_cast<std::uint32_t>(compression));
    EXPECT_EQ(LittleEndian32(file, 46), 10u);

    // Another BMP reader sees the same picture. (FreeImage's own reader refuses RLE8 data whose last row ends with
    // an end-of-line code before the end-of-bitmap code, which is how FreeImage's encoder writes it.)
    const DecodedImage back = ReadWithDevil(request.outputPath);
    ASSERT_TRUE(back.ok);
    ASSERT_EQ(back.width, kWidth);
    ASSERT_EQ(back.height, kHeight);
    const RGBQUAD* palette = FreeImage_GetPalette(image.get());
    for (unsigned y = 0; y < kHeight; ++y) {
      for (unsigned x = 0; x < kWidth; ++x) {
        BYTE index = 0;
        FreeImage_GetPixelIndex(image.get(), x, kHeight - 1 - y, &index);
        const unsigned char* read = &back.rgb[(y * kWidth + x) * 3];
        ASSERT_EQ(read[0], palette[index].rgbRed) << x << "," << y;
        ASSERT_EQ(read[1], palette[index].rgbGreen) << x << "," << y;
        ASSERT_EQ(read[2], palette[index].rgbBlue) << x << "," << y;
      }
    }
  }
}

TEST(ExactPaletteBitmap, IsUsedOnlyForEightBitBmpWithTheExactColourTable) {
  InitialiseEncoders();
  TempDir dir;
  const Bitmap image(MakeIndexedImage(10));
  const EncodeRequest ordinary = RequestFor(dir.path().string() + "/", "bmp", 8, 0);
  ASSERT_TRUE(EncodeImage(image.get(), nullptr, ordinary));
  const std::string bytes = ReadFileBytes(ordinary.outputPath);
  EXPECT_EQ(LittleEndian32(std::vector<unsigned char>(bytes.begin(), bytes.end()), 10), kFullPaletteBmpPixelOffset);
}

TEST(ExactPaletteBitmap, RefusesImagesThatAreNotEightBitPalettised) {
  for (const int bitsPerPixel : {1, 4, 16, 24, 32}) {
    const Bitmap image(FreeImage_Allocate(8, 8, bitsPerPixel));
    EXPECT_FALSE(EncodeExactPaletteBitmap(image.get(), FIF_BMP, 0, 0).has_value()) << bitsPerPixel;
  }
  EXPECT_FALSE(EncodeExactPaletteBitmap(nullptr, FIF_BMP, 0, 0).has_value());
}

TEST(ExactPaletteBitmap, FailsWhenTheEncoderDoesNotWriteBmp) {
  // Any other encoder's stream does not have the BMP layout the palette is cut from.
  const Bitmap image(MakeIndexedImage(10));
  EXPECT_FALSE(EncodeExactPaletteBitmap(image.get(), FIF_PNG, 0, 0).has_value());
  EXPECT_FALSE(EncodeExactPaletteBitmap(image.get(), FIF_UNKNOWN, 0, 0).has_value());
}

}  // namespace
}  // namespace lumivane::testing
