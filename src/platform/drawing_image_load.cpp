// Loading a picture file into a drawing image through FreeImage.
#include <FreeImage.h>

#include <fstream>
#include <iterator>
#include <limits>
#include <memory>
#include <vector>

#include "platform/bmp_header_rewrite.h"
#include "platform/drawing_image.h"
#include "platform/drawing_pixel.h"

namespace lumivane {
namespace {

struct BitmapUnloader {
  void operator()(FIBITMAP* bitmap) const { FreeImage_Unload(bitmap); }
};
using BitmapPtr = std::unique_ptr<FIBITMAP, BitmapUnloader>;

FREE_IMAGE_FORMAT PictureFormat(const std::string& path) {
  FREE_IMAGE_FORMAT format = FreeImage_GetFileType(path.c_str(), 0);
  if (format == FIF_UNKNOWN) format = FreeImage_GetFIFFromFilename(path.c_str());
  if (format == FIF_UNKNOWN || !FreeImage_FIFSupportsReading(format)) return FIF_UNKNOWN;
  return format;
}

// A BMP goes through memory, rewritten with the header FreeImage reads (bmp_header_rewrite.h).
BitmapPtr LoadBitmapFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return nullptr;
  std::vector<unsigned char> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (file.size() > std::numeric_limits<DWORD>::max() || !RewriteWithClassicBmpHeader(file)) {
    return nullptr;
  }
  FIMEMORY* stream = FreeImage_OpenMemory(file.data(), static_cast<DWORD>(file.size()));
  if (stream == nullptr) return nullptr;
  BitmapPtr bitmap(FreeImage_LoadFromMemory(FIF_BMP, stream, 0));
  FreeImage_CloseMemory(stream);
  return bitmap;
}

// 16-bit channels and other non-standard types go through the standard 8-bit type first.
BitmapPtr ToThirtyTwoBits(FIBITMAP* bitmap) {
  const FREE_IMAGE_TYPE type = FreeImage_GetImageType(bitmap);
  if (type == FIT_BITMAP || type == FIT_RGB16 || type == FIT_RGBA16)
    return BitmapPtr(FreeImage_ConvertTo32Bits(bitmap));
  BitmapPtr standard(FreeImage_ConvertToStandardType(bitmap, TRUE));
  if (!standard) return nullptr;
  return BitmapPtr(FreeImage_ConvertTo32Bits(standard.get()));
}

// FreeImage keeps rows bottom-up with straight alpha; the surface wants them top-down and premultiplied.
void CopyIntoSurface(FIBITMAP* bitmap, const SurfacePixels& pixels) {
  for (std::int64_t y = 0; y < pixels.Height(); ++y) {
    const BYTE* source = FreeImage_GetScanLine(bitmap, static_cast<int>(pixels.Height() - 1 - y));
    PremultipliedPixel* row = pixels.Row(y);
    for (std::int64_t x = 0; x < pixels.Width(); ++x, source += 4) {
      row[x] = PremultiplyRgba(
          MakeRgba(source[FI_RGBA_RED], source[FI_RGBA_GREEN], source[FI_RGBA_BLUE], source[FI_RGBA_ALPHA]));
    }
  }
  pixels.MarkChanged();
}

}  // namespace

DrawingImage LoadDrawingImage(const std::string& path) {
  const FREE_IMAGE_FORMAT format = PictureFormat(path);
  if (format == FIF_UNKNOWN) return {};
  const BitmapPtr loaded(format == FIF_BMP ? LoadBitmapFile(path) : BitmapPtr(FreeImage_Load(format, path.c_str(), 0)));
  if (!loaded || !FreeImage_HasPixels(loaded.get())) return {};
  const std::int64_t width = FreeImage_GetWidth(loaded.get());
  const std::int64_t height = FreeImage_GetHeight(loaded.get());
  if (!IsDrawingImageSize(width, height)) return {};
  const BitmapPtr rgba = ToThirtyTwoBits(loaded.get());
  if (!rgba) return {};
  DrawingImage image(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(width), static_cast<int>(height)),
                     static_cast<int>(FreeImage_GetBPP(loaded.get())));
  const SurfacePixels pixels(image.Surface());
  if (!pixels.IsValid()) return {};
  CopyIntoSurface(rgba.get(), pixels);
  return image;
}

}  // namespace lumivane
