#include "pipeline/overlay_bitmap.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include "platform/drawing_png.h"

namespace lumivane {

FIBITMAP* DrawingToBitmap(const DrawingImage& drawing) {
  std::optional<std::vector<std::uint8_t>> png = EncodeDrawingImagePng(drawing);
  if (!png || png->size() > std::numeric_limits<DWORD>::max()) return nullptr;
  FIMEMORY* stream = FreeImage_OpenMemory(png->data(), static_cast<DWORD>(png->size()));
  if (stream == nullptr) return nullptr;
  FIBITMAP* bitmap = FreeImage_LoadFromMemory(FIF_PNG, stream, 0);
  FreeImage_CloseMemory(stream);
  return bitmap;
}

FIBITMAP* CompositeOntoPicture(FIBITMAP* overlay, FIBITMAP* picture) {
  if (overlay == nullptr || picture == nullptr) return picture;
  FIBITMAP* composite = FreeImage_Composite(overlay, FALSE, nullptr, picture);
  if (composite == nullptr) return picture;
  FreeImage_Unload(picture);
  return composite;
}

}  // namespace lumivane
