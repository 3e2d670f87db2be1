#include "support/picture_pixels.h"

#include <functional>

#include <algorithm>
#include <cstdlib>

namespace lumivane::testing {

int Distance(const Rgb& a, const Rgb& b) {
  return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
}

UniqueBitmap MakeSolidPicture(int width, int height, Rgb colour, int bitsPerPixel) {
  UniqueBitmap picture(FreeImage_Allocate(width, height, bitsPerPixel));
  if (!picture) return picture;
  const unsigned step = FreeImage_GetBPP(picture.get()) / 8;
  for (int y = 0; y < height; ++y) {
    BYTE* pixel = FreeImage_GetScanLine(picture.get(), y);
    for (int x = 0; x < width; ++x, pixel += step) {
      pixel[FI_RGBA_RED] = static_cast<BYTE>(colour.r);
      pixel[FI_RGBA_GREEN] = static_cast<BYTE>(colour.g);
      pixel[FI_RGBA_BLUE] = static_cast<BYTE>(colour.b);
      if (step == 4) pixel[FI_RGBA_ALPHA] = 255;
    }
  }
  return picture;
}

std::optional<Rgb> PixelOf(FIBITMAP* picture, int x, int y) {
  const int width = static_cast<int>(FreeImage_GetWidth(picture));
  const int height = static_cast<int>(FreeImage_GetHeight(picture));
  const unsigned bpp = FreeImage_GetBPP(picture);
  if (x < 0 || y < 0 || x >= width || y >= height || (bpp != 24 && bpp != 32)) return std::nullopt;
  const BYTE* pixel = FreeImage_GetScanLine(picture, height - 1 - y) + x * (bpp / 8);
  return Rgb{pixel[FI_RGBA_RED], pixel[FI_RGBA_GREEN], pixel[FI_RGBA_BLUE]};
}

namespace {

ChangedArea FindChangedPixels(FIBITMAP* picture, const std::function<Rgb(int x, int y)>& before, int tolerance) {
  ChangedArea area{.left = 1 << 30, .top = 1 << 30};
  const int width = static_cast<int>(FreeImage_GetWidth(picture));
  const int height = static_cast<int>(FreeImage_GetHeight(picture));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (Distance(*PixelOf(picture, x, y), before(x, y)) <= tolerance) continue;
      area = {std::min(area.left, x), std::min(area.top, y), std::max(area.right, x + 1),
              std::max(area.bottom, y + 1), area.count + 1};
    }
  }
  return area.count == 0 ? ChangedArea{} : area;
}

}  // namespace

ChangedArea FindChangedArea(FIBITMAP* picture, Rgb background, int tolerance) {
  return FindChangedPixels(picture, [background](int, int) { return background; }, tolerance);
}

ChangedArea FindChangedArea(FIBITMAP* picture, FIBITMAP* before, int tolerance) {
  if (FreeImage_GetWidth(picture) != FreeImage_GetWidth(before) ||
      FreeImage_GetHeight(picture) != FreeImage_GetHeight(before)) {
    return {};
  }
  return FindChangedPixels(picture, [before](int x, int y) { return *PixelOf(before, x, y); }, tolerance);
}

std::string WriteSolidPng(const TempDir& folder, const std::string& name, int width, int height, Rgb colour,
                          std::optional<int> alpha) {
  UniqueBitmap picture = MakeSolidPicture(width, height, colour, alpha ? 32 : 24);
  if (alpha) {
    for (int y = 0; y < height; ++y) {
      BYTE* pixel = FreeImage_GetScanLine(picture.get(), y);
      for (int x = 0; x < width; ++x, pixel += 4) pixel[FI_RGBA_ALPHA] = static_cast<BYTE>(*alpha);
    }
  }
  const std::string path = folder / name;
  return FreeImage_Save(FIF_PNG, picture.get(), path.c_str(), 0) ? path : "";
}

Settings DefaultSettings() {
  Settings settings;
  ResetSettings(settings, true);
  return settings;
}

}  // namespace lumivane::testing
