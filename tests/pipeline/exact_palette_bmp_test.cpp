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

// The encoder's save flag and the header's compression field of a compression code: BI_RGB or BI_RLE8.
int SaveFlagOf(RleCompression compression) { return compression == RleCompression::kRle ? BMP_SAVE_RLE : 0; }
std::uint32_t HeaderCompressionOf(RleCompression compression) { return compression == RleCompression::kRle ? 1 : 0; }

struct PaletteCase {
  unsigned usedEntries;
  RleCompression compression;
};

TEST(ExactPaletteBitmap, HoldsOnlyThePaletteEntriesUpToTheHighestIndexUsed) {
  using enum RleCompression;
  for (const PaletteCase row : {PaletteCase{10, kNone}, PaletteCase{10, kRle}, PaletteCase{1, kNone},
                                PaletteCase{256, kNone}, PaletteCase{200, kRle}}) {
    SCOPED_TRACE(std::to_string(row.usedEntries) + " entries, compression " +
                 std::to_string(CodeOf(row.compression)));
    const Bitmap image(MakeIndexedImage(row.usedEntries));
    const auto file = EncodeExactPaletteBitmap(image.get(), FIF_BMP, SaveFlagOf(row.compression), row.compression);
    ASSERT_TRUE(file.has_value());
    const std::vector<unsigned char> ordinary = OrdinaryBmp(image.get(), SaveFlagOf(row.compression));
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
    EXPECT_EQ(LittleEndian32(*file, 30), HeaderCompressionOf(row.compression));
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
  for (const RleCompression compression : {RleCompression::kNone, RleCompression::kRle}) {
    SCOPED_TRACE("compression " + std::to_string(CodeOf(compression)));
    TempDir dir;
    EncodeRequest request = RequestFor("bmp", 8, SaveFlagOf(compression));
    request.bmpColorTable = ColorTable::kExact;
    request.bmpCompression = compression;
    const std::string path = EncodeToFile(image.get(), request, dir.path().string() + "/");
    ASSERT_NE(path, "");
    EXPECT_EQ(FolderEntries(dir.path().string()), std::vector<std::string>{"out.bmp"});
    const std::string bytes = ReadFileBytes(path);
    const std::vector<unsigned char> file(bytes.begin(), bytes.end());
    EXPECT_EQ(LittleEndian32(file, 10), 94u);
    EXPECT_EQ(LittleEndian32(file, 30), HeaderCompressionOf(compression));
    EXPECT_EQ(LittleEndian32(file, 46), 10u);

    // Another BMP reader sees the same picture. (FreeImage's own reader refuses RLE8 data whose last row ends with
    // an end-of-line code before the end-of-bitmap code, which is how FreeImage's encoder writes it.)
    const DecodedImage back = ReadWithDevil(path);
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
  const Bitmap image(MakeIndexedImage(10));
  const auto ordinary = EncodeImageFile(image.get(), RequestFor("bmp", 8, 0));
  ASSERT_TRUE(ordinary.has_value());
  EXPECT_EQ(LittleEndian32(*ordinary, 10), kFullPaletteBmpPixelOffset);
  // The exact colour table applies at 8 bits only.
  const Bitmap trueColour(MakeQuadrantImage(16, 16));
  EncodeRequest deeper = RequestFor("bmp", 24, 0);
  deeper.bmpColorTable = ColorTable::kExact;
  const auto deep = EncodeImageFile(trueColour.get(), deeper);
  ASSERT_TRUE(deep.has_value());
  EXPECT_EQ(LittleEndian32(*deep, 10), 54u);
  EXPECT_EQ((*deep)[28], 24);
}

TEST(ExactPaletteBitmap, RefusesImagesThatAreNotEightBitPalettised) {
  for (const int bitsPerPixel : {1, 4, 16, 24, 32}) {
    const Bitmap image(FreeImage_Allocate(8, 8, bitsPerPixel));
    EXPECT_FALSE(EncodeExactPaletteBitmap(image.get(), FIF_BMP, 0, RleCompression::kNone).has_value()) << bitsPerPixel;
  }
  EXPECT_FALSE(EncodeExactPaletteBitmap(nullptr, FIF_BMP, 0, RleCompression::kNone).has_value());
}

TEST(ExactPaletteBitmap, FailsWhenTheEncoderDoesNotWriteBmp) {
  // Any other encoder's stream does not have the BMP layout the palette is cut from.
  const Bitmap image(MakeIndexedImage(10));
  EXPECT_FALSE(EncodeExactPaletteBitmap(image.get(), FIF_PNG, 0, RleCompression::kNone).has_value());
  EXPECT_FALSE(EncodeExactPaletteBitmap(image.get(), FIF_UNKNOWN, 0, RleCompression::kNone).has_value());
}

}  // namespace
}  // namespace lumivane::testing
