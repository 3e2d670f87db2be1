#include "pipeline/cmyk_separation.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace lumivane {
namespace {

// C, M, Y, K of one pixel whose samples run from 0 to full.
std::array<std::uint32_t, 4> Separate(std::uint32_t red, std::uint32_t green, std::uint32_t blue, std::uint32_t full) {
  const std::uint32_t brightest = std::max({red, green, blue});
  const std::uint32_t black = full - brightest;
  if (brightest == 0) return {0, 0, 0, full};
  const auto ink = [&](std::uint32_t sample) {
    return static_cast<std::uint32_t>(std::uint64_t{brightest - sample} * full / brightest);
  };
  return {ink(red), ink(green), ink(blue), black};
}

void SeparateEightBitRows(FIBITMAP* picture, FIBITMAP* cmyk) {
  const unsigned width = FreeImage_GetWidth(picture);
  const unsigned step = FreeImage_GetBPP(picture) / 8;
  for (unsigned y = 0; y < FreeImage_GetHeight(picture); ++y) {
    const BYTE* from = FreeImage_GetScanLine(picture, static_cast<int>(y));
    BYTE* to = FreeImage_GetScanLine(cmyk, static_cast<int>(y));
    for (unsigned x = 0; x < width; ++x, from += step, to += 4) {
      const auto inks = Separate(from[FI_RGBA_RED], from[FI_RGBA_GREEN], from[FI_RGBA_BLUE], 0xFF);
      std::copy(inks.begin(), inks.end(), to);
    }
  }
}

void SeparateSixteenBitRows(FIBITMAP* picture, FIBITMAP* cmyk) {
  const unsigned width = FreeImage_GetWidth(picture);
  for (unsigned y = 0; y < FreeImage_GetHeight(picture); ++y) {
    const auto* from = reinterpret_cast<const FIRGB16*>(FreeImage_GetScanLine(picture, static_cast<int>(y)));
    auto* to = reinterpret_cast<FIRGBA16*>(FreeImage_GetScanLine(cmyk, static_cast<int>(y)));
    for (unsigned x = 0; x < width; ++x) {
      const auto inks = Separate(from[x].red, from[x].green, from[x].blue, 0xFFFF);
      to[x] = {static_cast<WORD>(inks[0]), static_cast<WORD>(inks[1]), static_cast<WORD>(inks[2]),
               static_cast<WORD>(inks[3])};
    }
  }
}

}  // namespace

FIBITMAP* SeparateCmyk(FIBITMAP* picture) {
  if (picture == nullptr) return nullptr;
  const FREE_IMAGE_TYPE type = FreeImage_GetImageType(picture);
  const unsigned bitsPerPixel = FreeImage_GetBPP(picture);
  const bool eightBits = type == FIT_BITMAP && (bitsPerPixel == 24 || bitsPerPixel == 32);
  if (!eightBits && type != FIT_RGB16) return nullptr;
  const int width = static_cast<int>(FreeImage_GetWidth(picture));
  const int height = static_cast<int>(FreeImage_GetHeight(picture));
  FIBITMAP* cmyk = eightBits ? FreeImage_Allocate(width, height, 32) : FreeImage_AllocateT(FIT_RGBA16, width, height);
  if (cmyk == nullptr) return nullptr;
  if (eightBits) {
    SeparateEightBitRows(picture, cmyk);
  } else {
    SeparateSixteenBitRows(picture, cmyk);
  }
  FreeImage_SetDotsPerMeterX(cmyk, FreeImage_GetDotsPerMeterX(picture));
  FreeImage_SetDotsPerMeterY(cmyk, FreeImage_GetDotsPerMeterY(picture));
  return cmyk;
}

}  // namespace lumivane
