#pragma once
// Raster drawing on one image: text without antialiasing, flood fill and drawing images, each pixel written
// through the current drawing mode.
#include <cairo.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "platform/drawing_colour.h"
#include "platform/drawing_font.h"
#include "platform/drawing_image.h"

namespace lumivane {

enum class DrawingMode {
  kBlend,        // drawn pixels are blended over the image (the default)
  kAllChannels,  // drawn pixels replace all four channels of the image, alpha included
  kFilter,       // each drawn pixel goes through the filter, whose result replaces the image's pixel
};

// Gets the straight colour about to be drawn (a drawn image's pixel with its constant alpha already applied)
// and returns the colour to write.
using PixelFilter = std::function<Rgba(Rgba source)>;

struct TextSize {
  int width = 0;   // advance of the whole text in pixels
  int height = 0;  // line height of the font in pixels (also for an empty text)
};

// One raster drawing session on one image, from construction (start) to Stop or destruction. The image must
// outlive the session. Positions may lie partly or wholly outside the image; only pixels inside are touched.
class Drawing2D {
 public:
  explicit Drawing2D(DrawingImage& image);
  ~Drawing2D();
  Drawing2D(const Drawing2D&) = delete;
  Drawing2D& operator=(const Drawing2D&) = delete;

  // False when the image is empty; every operation then does nothing and reports failure.
  bool IsOpen() const { return context_ != nullptr; }
  void Stop();

  void SetFont(const DrawingFont& font);
  // False (and the mode unchanged) for kFilter without a filter.
  bool SetMode(DrawingMode mode, PixelFilter filter = {});

  // Width and height of the text in the current font; none without a font or an open session.
  std::optional<TextSize> MeasureText(std::string_view text) const;
  // Text whose top-left corner is at (x, y): the back colour fills the text's box, glyph pixels get the front
  // colour. No antialiasing: every text pixel is either front or back. A back colour with alpha 0 in the
  // blending mode leaves the box's other pixels as they were.
  bool DrawText(std::int64_t x, std::int64_t y, std::string_view text, Rgba front, Rgba back);
  // Fills the 4-connected area of pixels that have exactly the colour of (x, y) with the colour.
  bool FloodFill(std::int64_t x, std::int64_t y, Rgba colour);
  // Draws the source image with its top-left corner at (x, y), every pixel's alpha scaled by alpha (0..255).
  bool DrawImage(const DrawingImage& source, std::int64_t x, std::int64_t y, int alpha = 255);

 private:
  cairo_surface_t* target_ = nullptr;
  cairo_t* context_ = nullptr;  // for text layout only; pixels are written directly
  DrawingFont font_;
  DrawingMode mode_ = DrawingMode::kBlend;
  PixelFilter filter_;
};

}  // namespace lumivane
