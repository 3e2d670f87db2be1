#include "pipeline/overlay_bitmap.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include "platform/drawing_png.h"

namespace lumivane {
namespace {

constexpr unsigned kOpaque = 255;

// a * b / 255, rounded to nearest.
unsigned Scale(unsigned a, unsigned b) { return (a * b + 127) / kOpaque; }

bool Contains(FIBITMAP* bitmap, unsigned bitsPerPixel, int left, int top, int width, int height) {
  return FreeImage_GetImageType(bitmap) == FIT_BITMAP && FreeImage_GetBPP(bitmap) == bitsPerPixel && left >= 0 &&
         top >= 0 && width >= 0 && height >= 0 && left + width <= static_cast<int>(FreeImage_GetWidth(bitmap)) &&
         top + height <= static_cast<int>(FreeImage_GetHeight(bitmap));
}

// A row from the top; FreeImage keeps them bottom-up.
BYTE* RowFromTop(FIBITMAP* bitmap, int y) {
  return FreeImage_GetScanLine(bitmap, static_cast<int>(FreeImage_GetHeight(bitmap)) - 1 - y);
}

}  // namespace

FIBITMAP* DrawingToBitmap(const DrawingImage& drawing) {
  std::optional<std::vector<std::uint8_t>> png = EncodeDrawingImagePng(drawing);
  if (!png || png->size() > std::numeric_limits<DWORD>::max()) return nullptr;
  FIMEMORY* stream = FreeImage_OpenMemory(png->data(), static_cast<DWORD>(png->size()));
  if (stream == nullptr) return nullptr;
  FIBITMAP* bitmap = FreeImage_LoadFromMemory(FIF_PNG, stream, 0);
  FreeImage_CloseMemory(stream);
  return bitmap;
}

bool BlendOntoPicture(FIBITMAP* picture, FIBITMAP* overlay, OverlayPlacement where, int opacity) {
  if (picture == nullptr || overlay == nullptr) return false;
  if (!Contains(picture, 24, where.left, where.top, where.width, where.height) ||
      !Contains(overlay, 32, 0, 0, where.width, where.height)) {
    return false;
  }
  const auto strength = static_cast<unsigned>(std::clamp(opacity, 0, 255));
  for (int y = 0; y < where.height; ++y) {
    const BYTE* from = RowFromTop(overlay, y);
    BYTE* to = RowFromTop(picture, where.top + y) + 3 * where.left;
    for (int x = 0; x < where.width; ++x, from += 4, to += 3) {
      const unsigned alpha = Scale(from[FI_RGBA_ALPHA], strength);
      for (const int channel : {FI_RGBA_RED, FI_RGBA_GREEN, FI_RGBA_BLUE}) {
        to[channel] = static_cast<BYTE>((from[channel] * alpha + to[channel] * (kOpaque - alpha) + 127) / kOpaque);
      }
    }
  }
  return true;
}

}  // namespace lumivane
