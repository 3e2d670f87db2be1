#pragma once
// Images of the drawing layer: 32-bit surfaces with alpha, owned by whoever made them. Several images can be
// drawn at the same time on different threads; nothing here is shared between images.
#include <cairo.h>

#include <cstdint>
#include <optional>
#include <string>

#include "platform/drawing_colour.h"

namespace lumivane {

// The largest side an image may have (the rasteriser's own limit).
inline constexpr std::int64_t kMaxDrawingImageSide = 32767;

// Owns one surface; empty when an operation that makes an image failed. Move-only.
class DrawingImage {
 public:
  DrawingImage() = default;
  // Takes ownership of an ARGB32 image surface; bitsPerPixel is the depth the image was made or loaded with.
  DrawingImage(cairo_surface_t* surface, int bitsPerPixel);
  ~DrawingImage();
  DrawingImage(DrawingImage&& other) noexcept;
  DrawingImage& operator=(DrawingImage&& other) noexcept;
  DrawingImage(const DrawingImage&) = delete;
  DrawingImage& operator=(const DrawingImage&) = delete;

  bool IsImage() const { return surface_ != nullptr; }
  int Width() const;
  int Height() const;
  // 32 for images made here; a loaded picture keeps the depth of its file (24 for a JPEG, 8 for a palette).
  int BitsPerPixel() const { return bitsPerPixel_; }
  cairo_surface_t* Surface() const { return surface_; }

 private:
  cairo_surface_t* surface_ = nullptr;
  int bitsPerPixel_ = 0;
};

// Both sides 1..kMaxDrawingImageSide; anything else (zero, negative, huge) is refused.
bool IsDrawingImageSize(std::int64_t width, std::int64_t height);

// A fully transparent 32-bit image, or an empty one when the size is refused or memory runs out.
DrawingImage CreateDrawingImage(std::int64_t width, std::int64_t height);
// A 32-bit image filled with the colour at full opacity (the colour's own alpha is ignored).
DrawingImage CreateFilledDrawingImage(std::int64_t width, std::int64_t height, Rgba colour);
// A picture file (BMP with any of the Windows header versions, JPEG, PNG and the other formats FreeImage reads) as
// a 32-bit surface; its alpha is kept.
// Empty when the file cannot be read or is larger than the limit.
DrawingImage LoadDrawingImage(const std::string& path);

// The straight (not premultiplied) colour of one pixel; none outside the image.
std::optional<Rgba> DrawingImagePixel(const DrawingImage& image, std::int64_t x, std::int64_t y);

}  // namespace lumivane
