#include "support/png_readback.h"

namespace lumivane::testing {

PngReadback::PngReadback(const std::vector<std::uint8_t>& png) {
  if (png.empty()) return;
  FIMEMORY* memory = FreeImage_OpenMemory(const_cast<BYTE*>(png.data()), static_cast<DWORD>(png.size()));
  if (memory == nullptr) return;
  bitmap_ = FreeImage_LoadFromMemory(FIF_PNG, memory, 0);
  FreeImage_CloseMemory(memory);
}

PngReadback::~PngReadback() {
  if (bitmap_ != nullptr) FreeImage_Unload(bitmap_);
}

unsigned PngReadback::BitsPerPixel() const { return bitmap_ != nullptr ? FreeImage_GetBPP(bitmap_) : 0; }
int PngReadback::Width() const { return bitmap_ != nullptr ? static_cast<int>(FreeImage_GetWidth(bitmap_)) : 0; }
int PngReadback::Height() const { return bitmap_ != nullptr ? static_cast<int>(FreeImage_GetHeight(bitmap_)) : 0; }

std::optional<std::uint32_t> PngReadback::Pixel(int x, int y) const {
  if (BitsPerPixel() != 32 || x < 0 || y < 0 || x >= Width() || y >= Height()) return std::nullopt;
  const BYTE* pixel = FreeImage_GetScanLine(bitmap_, Height() - 1 - y) + 4 * x;
  return std::uint32_t{pixel[FI_RGBA_RED]} | (std::uint32_t{pixel[FI_RGBA_GREEN]} << 8) |
         (std::uint32_t{pixel[FI_RGBA_BLUE]} << 16) | (std::uint32_t{pixel[FI_RGBA_ALPHA]} << 24);
}

}  // namespace lumivane::testing
