#include "platform/drawing_png.h"

#include <png.h>

#include "platform/drawing_pixel.h"

namespace lumivane {
namespace {

std::vector<std::uint8_t> StraightRgbaRows(const SurfacePixels& pixels) {
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(pixels.Width() * pixels.Height() * 4));
  std::uint8_t* out = bytes.data();
  for (std::int64_t y = 0; y < pixels.Height(); ++y) {
    const PremultipliedPixel* row = pixels.Row(y);
    for (std::int64_t x = 0; x < pixels.Width(); ++x) {
      const Rgba colour = UnpremultiplyPixel(row[x]);
      *out++ = RedOf(colour);
      *out++ = GreenOf(colour);
      *out++ = BlueOf(colour);
      *out++ = AlphaOf(colour);
    }
  }
  return bytes;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> EncodeDrawingImagePng(const DrawingImage& image) {
  const SurfacePixels pixels(image.Surface());
  if (!pixels.IsValid() || pixels.Width() < 1 || pixels.Height() < 1) return std::nullopt;
  const std::vector<std::uint8_t> rows = StraightRgbaRows(pixels);

  png_image description{};
  description.version = PNG_IMAGE_VERSION;
  description.width = static_cast<png_uint_32>(pixels.Width());
  description.height = static_cast<png_uint_32>(pixels.Height());
  description.format = PNG_FORMAT_RGBA;
  const png_int_32 rowStride = static_cast<png_int_32>(pixels.Width() * 4);

  // The first call only measures; the second writes into a buffer of that size.
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&description, nullptr, &size, 0, rows.data(), rowStride, nullptr) || size == 0) {
    png_image_free(&description);
    return std::nullopt;
  }
  std::vector<std::uint8_t> encoded(size);
  const bool written =
      png_image_write_to_memory(&description, encoded.data(), &size, 0, rows.data(), rowStride, nullptr) != 0;
  png_image_free(&description);
  if (!written) return std::nullopt;
  encoded.resize(size);
  return encoded;
}

}  // namespace lumivane
