#include "platform/drawing_pixel.h"

#include <algorithm>

namespace lumivane {

static_assert(ScaleBy255(255, 255) == 255 && ScaleBy255(255, 0) == 0 && ScaleBy255(255, 128) == 128);
static_assert(ScaleBy255(1, 255) == 1 && ScaleBy255(200, 1) == 1 && ScaleBy255(100, 1) == 0);

namespace {

constexpr PremultipliedPixel PackPixel(std::uint32_t a, std::uint32_t r, std::uint32_t g, std::uint32_t b) {
  return (a << 24) | (r << 16) | (g << 8) | b;
}

}  // namespace

PremultipliedPixel PremultiplyRgba(Rgba colour) {
  const std::uint32_t alpha = AlphaOf(colour);
  return PackPixel(alpha, ScaleBy255(RedOf(colour), alpha), ScaleBy255(GreenOf(colour), alpha),
                   ScaleBy255(BlueOf(colour), alpha));
}

Rgba UnpremultiplyPixel(PremultipliedPixel pixel) {
  const std::uint32_t alpha = pixel >> 24;
  if (alpha == 0) return 0;
  const auto straight = [alpha](std::uint32_t channel) {
    const std::uint32_t value = (channel * 255 + alpha / 2) / alpha;
    return static_cast<std::uint8_t>(value > 255 ? 255 : value);
  };
  return MakeRgba(straight((pixel >> 16) & 0xFF), straight((pixel >> 8) & 0xFF), straight(pixel & 0xFF),
                  static_cast<std::uint8_t>(alpha));
}

PremultipliedPixel FadePixel(PremultipliedPixel pixel, std::uint32_t alpha) {
  if (alpha >= 255) return pixel;
  return PackPixel(ScaleBy255(pixel >> 24, alpha), ScaleBy255((pixel >> 16) & 0xFF, alpha),
                   ScaleBy255((pixel >> 8) & 0xFF, alpha), ScaleBy255(pixel & 0xFF, alpha));
}

PremultipliedPixel BlendOver(PremultipliedPixel source, PremultipliedPixel destination) {
  const std::uint32_t keep = 255 - (source >> 24);
  const auto channel = [&](int shift) {
    const std::uint32_t sum = ((source >> shift) & 0xFF) + ScaleBy255((destination >> shift) & 0xFF, keep);
    return sum > 255 ? 255u : sum;
  };
  return PackPixel(channel(24), channel(16), channel(8), channel(0));
}

PixelRect ClipToImage(std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height, std::int64_t imageWidth,
                      std::int64_t imageHeight) {
  if (!IsDrawingCoordinate(x) || !IsDrawingCoordinate(y) || width <= 0 || height <= 0) return {};
  PixelRect rect{x, y, x + std::min(width, kMaxDrawingCoordinate), y + std::min(height, kMaxDrawingCoordinate)};
  rect.left = std::max<std::int64_t>(rect.left, 0);
  rect.top = std::max<std::int64_t>(rect.top, 0);
  rect.right = std::min(rect.right, imageWidth);
  rect.bottom = std::min(rect.bottom, imageHeight);
  return rect;
}

SurfacePixels::SurfacePixels(cairo_surface_t* surface) {
  if (surface == nullptr || cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS ||
      cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE ||
      cairo_image_surface_get_format(surface) != CAIRO_FORMAT_ARGB32) {
    return;
  }
  cairo_surface_flush(surface);
  surface_ = surface;
  words_ = reinterpret_cast<PremultipliedPixel*>(cairo_image_surface_get_data(surface));
  width_ = cairo_image_surface_get_width(surface);
  height_ = cairo_image_surface_get_height(surface);
  stride_ = cairo_image_surface_get_stride(surface) / static_cast<int>(sizeof(PremultipliedPixel));
}

void SurfacePixels::MarkChanged() const {
  if (surface_ != nullptr) cairo_surface_mark_dirty(surface_);
}

}  // namespace lumivane
