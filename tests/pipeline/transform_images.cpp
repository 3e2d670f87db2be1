#include "pipeline/transform_images.h"

namespace lumivane::testing {

FIBITMAP* MakeFilledImage(unsigned width, unsigned height, unsigned bpp, std::array<BYTE, 3> rgb) {
  FIBITMAP* image = FreeImage_Allocate(static_cast<int>(width), static_cast<int>(height), static_cast<int>(bpp));
  if (image == nullptr) return nullptr;
  RGBQUAD colour{};
  colour.rgbRed = rgb[0];
  colour.rgbGreen = rgb[1];
  colour.rgbBlue = rgb[2];
  colour.rgbReserved = 255;
  FreeImage_FillBackground(image, &colour);
  return image;
}

FIBITMAP* MakeGreyGradient(unsigned width, unsigned height, BYTE first, BYTE last) {
  FIBITMAP* image = FreeImage_Allocate(static_cast<int>(width), static_cast<int>(height), 24);
  if (image == nullptr) return nullptr;
  for (unsigned y = 0; y < height; ++y) {
    BYTE* row = FreeImage_GetScanLine(image, static_cast<int>(y));
    for (unsigned x = 0; x < width; ++x) {
      const unsigned span = width > 1 ? width - 1 : 1;
      const auto level =
          static_cast<BYTE>(first + (static_cast<int>(last) - first) * static_cast<int>(x) / static_cast<int>(span));
      row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = level;
    }
  }
  return image;
}

FIBITMAP* MakeGreyRamp8(unsigned width, unsigned height) {
  FIBITMAP* image = FreeImage_Allocate(static_cast<int>(width), static_cast<int>(height), 8);
  if (image == nullptr) return nullptr;
  RGBQUAD* palette = FreeImage_GetPalette(image);
  for (unsigned i = 0; i < 256; ++i) {
    palette[i].rgbRed = palette[i].rgbGreen = palette[i].rgbBlue = static_cast<BYTE>(i);
  }
  for (unsigned y = 0; y < height; ++y) {
    BYTE* row = FreeImage_GetScanLine(image, static_cast<int>(y));
    for (unsigned x = 0; x < width; ++x) row[x] = static_cast<BYTE>(x);
  }
  return image;
}

FIBITMAP* MakeImage48(unsigned width, unsigned height, std::array<WORD, 3> rgb) {
  FIBITMAP* image = FreeImage_AllocateT(FIT_RGB16, static_cast<int>(width), static_cast<int>(height));
  if (image == nullptr) return nullptr;
  for (unsigned y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<FIRGB16*>(FreeImage_GetScanLine(image, static_cast<int>(y)));
    for (unsigned x = 0; x < width; ++x) row[x] = {rgb[0], rgb[1], rgb[2]};
  }
  return image;
}

FIBITMAP* MakeImageOfDepth(unsigned width, unsigned height, unsigned bpp) {
  FIBITMAP* gradient = MakeGreyGradient(width, height, 0, 255);
  if (gradient == nullptr) return nullptr;
  FIBITMAP* converted = nullptr;
  switch (bpp) {
    case 1:
      converted = FreeImage_Threshold(gradient, 128);
      break;
    case 4:
      converted = FreeImage_ConvertTo4Bits(gradient);
      break;
    case 8:
      converted = FreeImage_ConvertTo8Bits(gradient);
      break;
    case 16:
      converted = FreeImage_ConvertTo16Bits565(gradient);
      break;
    case 24:
      return gradient;
    case 32:
      converted = FreeImage_ConvertTo32Bits(gradient);
      break;
    case 48:
      converted = FreeImage_ConvertToRGB16(gradient);
      break;
    default:
      break;
  }
  FreeImage_Unload(gradient);
  return converted;
}

RGBQUAD PixelAt(FIBITMAP* image, unsigned x, unsigned y) {
  const unsigned fromBottom = FreeImage_GetHeight(image) - 1 - y;
  RGBQUAD colour{};
  if (FreeImage_GetBPP(image) <= 8) {
    BYTE index = 0;
    FreeImage_GetPixelIndex(image, x, fromBottom, &index);
    return FreeImage_GetPalette(image)[index];
  }
  FreeImage_GetPixelColor(image, x, fromBottom, &colour);
  return colour;
}

std::array<int, 3> RgbAt(FIBITMAP* image, unsigned x, unsigned y) {
  const RGBQUAD colour = PixelAt(image, x, y);
  return {colour.rgbRed, colour.rgbGreen, colour.rgbBlue};
}

double MeanLevel(FIBITMAP* image, unsigned firstColumn, unsigned endColumn) {
  double sum = 0;
  unsigned count = 0;
  for (unsigned y = 0; y < FreeImage_GetHeight(image); ++y) {
    const BYTE* row = FreeImage_GetScanLine(image, static_cast<int>(y));
    for (unsigned x = firstColumn; x < endColumn; ++x) {
      sum += row[3 * x] + row[3 * x + 1] + row[3 * x + 2];
      count += 3;
    }
  }
  return count == 0 ? 0.0 : sum / count;
}

std::vector<BYTE> PixelBytes(FIBITMAP* image) {
  std::vector<BYTE> bytes;
  const unsigned line = FreeImage_GetLine(image);
  for (unsigned y = 0; y < FreeImage_GetHeight(image); ++y) {
    const BYTE* row = FreeImage_GetScanLine(image, static_cast<int>(y));
    bytes.insert(bytes.end(), row, row + line);
  }
  return bytes;
}

}  // namespace lumivane::testing
