#include "pipeline/exact_palette_bmp.h"

#include <algorithm>
#include <cstdint>
#include <span>

#include "pipeline/encode_freeimage.h"

namespace lumivane {
namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kPaletteEntrySize = 4;

void AppendLittleEndian(std::vector<unsigned char>& bytes, std::uint32_t value, int byteCount) {
  for (int i = 0; i < byteCount; ++i) bytes.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

std::uint32_t ReadLittleEndian32(std::span<const unsigned char> bytes, std::size_t offset) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | bytes[offset + static_cast<std::size_t>(i)];
  return value;
}

// 1 + the highest palette index over every pixel of every row.
unsigned UsedPaletteEntries(FIBITMAP* image) {
  const unsigned width = FreeImage_GetWidth(image);
  const unsigned height = FreeImage_GetHeight(image);
  unsigned highest = 0;
  for (unsigned y = 0; y < height; ++y) {
    const BYTE* row = FreeImage_GetScanLine(image, static_cast<int>(y));
    if (width > 0) highest = std::max<unsigned>(highest, *std::max_element(row, row + width));
  }
  return highest + 1;
}

// The encoder's BMP: file header, 40-byte info header, 256 palette entries, pixels from offset 1078.
bool HasFullPaletteLayout(std::span<const unsigned char> stream) {
  return stream.size() >= kFullPaletteBmpPixelOffset && stream[0] == 'B' && stream[1] == 'M' &&
         ReadLittleEndian32(stream, 10) == kFullPaletteBmpPixelOffset &&
         ReadLittleEndian32(stream, kFileHeaderSize) == kInfoHeaderSize;
}

std::vector<unsigned char> BuildFile(FIBITMAP* image, std::span<const unsigned char> stream,
                                     RleCompression compression) {
  const unsigned entries = UsedPaletteEntries(image);
  const std::uint32_t pixelBytes = static_cast<std::uint32_t>(stream.size() - kFullPaletteBmpPixelOffset);
  const std::uint32_t pixelOffset = kFileHeaderSize + kInfoHeaderSize + kPaletteEntrySize * entries;
  const BITMAPINFOHEADER* info = FreeImage_GetInfoHeader(image);
  const RGBQUAD* palette = FreeImage_GetPalette(image);

  std::vector<unsigned char> file;
  file.reserve(pixelOffset + pixelBytes);
  file.push_back('B');
  file.push_back('M');
  AppendLittleEndian(file, pixelOffset + pixelBytes, 4);
  AppendLittleEndian(file, 0, 2);
  AppendLittleEndian(file, 0, 2);
  AppendLittleEndian(file, pixelOffset, 4);

  AppendLittleEndian(file, kInfoHeaderSize, 4);
  AppendLittleEndian(file, static_cast<std::uint32_t>(info->biWidth), 4);
  AppendLittleEndian(file, static_cast<std::uint32_t>(info->biHeight), 4);
  AppendLittleEndian(file, info->biPlanes, 2);
  AppendLittleEndian(file, 8, 2);
  AppendLittleEndian(file, static_cast<std::uint32_t>(CodeOf(compression)), 4);  // BI_RGB 0, BI_RLE8 1
  AppendLittleEndian(file, pixelBytes, 4);
  AppendLittleEndian(file, static_cast<std::uint32_t>(info->biXPelsPerMeter), 4);
  AppendLittleEndian(file, static_cast<std::uint32_t>(info->biYPelsPerMeter), 4);
  AppendLittleEndian(file, entries, 4);
  AppendLittleEndian(file, entries, 4);

  for (unsigned i = 0; i < entries; ++i) {
    file.push_back(palette[i].rgbBlue);
    file.push_back(palette[i].rgbGreen);
    file.push_back(palette[i].rgbRed);
    file.push_back(0);
  }
  file.insert(file.end(), stream.begin() + kFullPaletteBmpPixelOffset, stream.end());
  return file;
}

}  // namespace

std::optional<std::vector<unsigned char>> EncodeExactPaletteBitmap(FIBITMAP* image, int encoderTypeId, int saveFlags,
                                                                   RleCompression compression) {
  if (image == nullptr || FreeImage_GetImageType(image) != FIT_BITMAP || FreeImage_GetBPP(image) != 8 ||
      FreeImage_GetPalette(image) == nullptr || FreeImage_GetInfoHeader(image) == nullptr) {
    return std::nullopt;
  }
  std::optional<std::vector<unsigned char>> file;
  EncodeWithFreeImage(image, encoderTypeId, saveFlags, [&](std::span<const unsigned char> stream) {
    if (!HasFullPaletteLayout(stream)) return false;
    file = BuildFile(image, stream, compression);
    return true;
  });
  return file;
}

}  // namespace lumivane
