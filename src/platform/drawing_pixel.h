#pragma once
// Pixel arithmetic of the drawing layer's own files. Surfaces hold native-endian 0xAARRGGBB words with
// premultiplied alpha (cairo's ARGB32); callers speak straight RGBA (drawing_colour.h).
#include <cairo.h>

#include <cstdint>

#include "platform/drawing_colour.h"

namespace lumivane {

using PremultipliedPixel = std::uint32_t;

// value * factor / 255, rounded to nearest; both in 0..255.
constexpr std::uint32_t ScaleBy255(std::uint32_t value, std::uint32_t factor) {
  const std::uint32_t product = value * factor + 128;
  return (product + (product >> 8)) >> 8;
}

PremultipliedPixel PremultiplyRgba(Rgba colour);
Rgba UnpremultiplyPixel(PremultipliedPixel pixel);
// Every channel scaled by alpha / 255: the pixel drawn with a constant opacity.
PremultipliedPixel FadePixel(PremultipliedPixel pixel, std::uint32_t alpha);
// Porter-Duff "over" of two premultiplied pixels.
PremultipliedPixel BlendOver(PremultipliedPixel source, PremultipliedPixel destination);

// Positions further out than this are refused, so that position plus size never overflows.
inline constexpr std::int64_t kMaxDrawingCoordinate = std::int64_t{1} << 40;
constexpr bool IsDrawingCoordinate(std::int64_t value) {
  return value >= -kMaxDrawingCoordinate && value <= kMaxDrawingCoordinate;
}

// The part of a rectangle (any sizes) that lies inside a width x height image; half-open bounds.
struct PixelRect {
  std::int64_t left = 0;
  std::int64_t top = 0;
  std::int64_t right = 0;
  std::int64_t bottom = 0;
  bool IsEmpty() const { return left >= right || top >= bottom; }
};
PixelRect ClipToImage(std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height, std::int64_t imageWidth,
                      std::int64_t imageHeight);

// Direct access to an image surface's words; rows are `stride` words apart. Construction flushes cairo's
// pending drawing; MarkChanged tells cairo that the words were written.
class SurfacePixels {
 public:
  explicit SurfacePixels(cairo_surface_t* surface);
  bool IsValid() const { return words_ != nullptr; }
  std::int64_t Width() const { return width_; }
  std::int64_t Height() const { return height_; }
  PremultipliedPixel* Row(std::int64_t y) const { return words_ + y * stride_; }
  bool Contains(std::int64_t x, std::int64_t y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  void MarkChanged() const;

 private:
  cairo_surface_t* surface_ = nullptr;
  PremultipliedPixel* words_ = nullptr;
  std::int64_t width_ = 0;
  std::int64_t height_ = 0;
  std::int64_t stride_ = 0;
};

}  // namespace lumivane
