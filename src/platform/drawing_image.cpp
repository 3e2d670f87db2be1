#include "platform/drawing_image.h"

#include <utility>

#include "platform/drawing_pixel.h"

namespace lumivane {

DrawingImage::DrawingImage(cairo_surface_t* surface, int bitsPerPixel)
    : surface_(surface), bitsPerPixel_(surface != nullptr ? bitsPerPixel : 0) {}

DrawingImage::~DrawingImage() {
  if (surface_ != nullptr) cairo_surface_destroy(surface_);
}

DrawingImage::DrawingImage(DrawingImage&& other) noexcept
    : surface_(std::exchange(other.surface_, nullptr)), bitsPerPixel_(std::exchange(other.bitsPerPixel_, 0)) {}

DrawingImage& DrawingImage::operator=(DrawingImage&& other) noexcept {
  if (this != &other) {
    if (surface_ != nullptr) cairo_surface_destroy(surface_);
    surface_ = std::exchange(other.surface_, nullptr);
    bitsPerPixel_ = std::exchange(other.bitsPerPixel_, 0);
  }
  return *this;
}

int DrawingImage::Width() const { return surface_ != nullptr ? cairo_image_surface_get_width(surface_) : 0; }
int DrawingImage::Height() const { return surface_ != nullptr ? cairo_image_surface_get_height(surface_) : 0; }

bool IsDrawingImageSize(std::int64_t width, std::int64_t height) {
  return width >= 1 && height >= 1 && width <= kMaxDrawingImageSide && height <= kMaxDrawingImageSide;
}

DrawingImage CreateDrawingImage(std::int64_t width, std::int64_t height) {
  if (!IsDrawingImageSize(width, height)) return {};
  // New image surfaces start fully transparent.
  cairo_surface_t* surface =
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(width), static_cast<int>(height));
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return {};
  }
  return DrawingImage(surface, 32);
}

DrawingImage CreateFilledDrawingImage(std::int64_t width, std::int64_t height, Rgba colour) {
  DrawingImage image = CreateDrawingImage(width, height);
  const SurfacePixels pixels(image.Surface());
  if (!pixels.IsValid()) return {};
  const PremultipliedPixel opaque = PremultiplyRgba(WithAlpha(colour, 255));
  for (std::int64_t y = 0; y < pixels.Height(); ++y) {
    PremultipliedPixel* row = pixels.Row(y);
    for (std::int64_t x = 0; x < pixels.Width(); ++x) row[x] = opaque;
  }
  pixels.MarkChanged();
  return image;
}

std::optional<Rgba> DrawingImagePixel(const DrawingImage& image, std::int64_t x, std::int64_t y) {
  const SurfacePixels pixels(image.Surface());
  if (!pixels.IsValid() || !pixels.Contains(x, y)) return std::nullopt;
  return UnpremultiplyPixel(pixels.Row(y)[x]);
}

}  // namespace lumivane
