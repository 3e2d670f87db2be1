// Raster text: the text's box in the back colour, then the glyphs, rendered without antialiasing into a
// coverage mask, in the front colour.
#include <algorithm>
#include <memory>

#include "platform/drawing_2d.h"
#include "platform/drawing_pixel_writer.h"
#include "platform/drawing_text_layout.h"

namespace lumivane {
namespace {

struct SurfaceDestroyer {
  void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct ContextDestroyer {
  void operator()(cairo_t* context) const { cairo_destroy(context); }
};

void FillArea(const SurfacePixels& pixels, const PixelRect& area, PixelWriter& writer, Rgba colour) {
  writer.PrepareColour(colour);
  for (std::int64_t y = area.top; y < area.bottom; ++y) {
    PremultipliedPixel* row = pixels.Row(y);
    for (std::int64_t x = area.left; x < area.right; ++x) writer.PutColour(row[x]);
  }
}

// Renders the layout, whose origin lies at (originX, originY) of the image, into an 8-bit mask covering the
// area, and writes the colour wherever a glyph covers a pixel.
bool DrawGlyphs(PangoLayout* layout, std::int64_t originX, std::int64_t originY, const SurfacePixels& pixels,
                const PixelRect& area, PixelWriter& writer, Rgba colour) {
  const std::unique_ptr<cairo_surface_t, SurfaceDestroyer> mask(cairo_image_surface_create(
      CAIRO_FORMAT_A8, static_cast<int>(area.right - area.left), static_cast<int>(area.bottom - area.top)));
  const std::unique_ptr<cairo_t, ContextDestroyer> context(cairo_create(mask.get()));
  if (cairo_status(context.get()) != CAIRO_STATUS_SUCCESS) return false;
  cairo_set_antialias(context.get(), CAIRO_ANTIALIAS_NONE);  // underline and strikeout bars
  cairo_move_to(context.get(), static_cast<double>(originX - area.left), static_cast<double>(originY - area.top));
  pango_cairo_show_layout(context.get(), layout);
  cairo_surface_flush(mask.get());

  const unsigned char* coverage = cairo_image_surface_get_data(mask.get());
  const int stride = cairo_image_surface_get_stride(mask.get());
  writer.PrepareColour(colour);
  for (std::int64_t y = area.top; y < area.bottom; ++y, coverage += stride) {
    PremultipliedPixel* row = pixels.Row(y);
    for (std::int64_t x = area.left; x < area.right; ++x) {
      if (coverage[x - area.left] >= 128) writer.PutColour(row[x]);
    }
  }
  return true;
}

PixelRect Union(const PixelRect& a, const PixelRect& b) {
  if (a.IsEmpty()) return b;
  if (b.IsEmpty()) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

}  // namespace

bool Drawing2D::DrawText(std::int64_t x, std::int64_t y, std::string_view text, Rgba front, Rgba back) {
  const SurfacePixels pixels(target_);
  if (!IsOpen() || !pixels.IsValid() || !IsDrawingCoordinate(x) || !IsDrawingCoordinate(y)) return false;
  const TextLayout layout = MakeTextLayout(context_, font_, text, TextRendering::kRaster);
  if (!layout) return false;
  PangoRectangle ink;
  PangoRectangle logical;
  pango_layout_get_pixel_extents(layout.get(), &ink, &logical);
  // (x, y) is the top-left corner of the text's box; glyphs may reach beyond it (italic overhang).
  const std::int64_t originX = x - logical.x;
  const std::int64_t originY = y - logical.y;
  const PixelRect box = ClipToImage(x, y, logical.width, logical.height, pixels.Width(), pixels.Height());
  const PixelRect inked =
      ClipToImage(originX + ink.x, originY + ink.y, ink.width, ink.height, pixels.Width(), pixels.Height());
  PixelWriter writer(mode_, filter_);
  if (!box.IsEmpty()) FillArea(pixels, box, writer, back);
  const PixelRect glyphArea = Union(box, inked);
  const bool drawn =
      glyphArea.IsEmpty() || DrawGlyphs(layout.get(), originX, originY, pixels, glyphArea, writer, front);
  pixels.MarkChanged();
  return drawn;
}

}  // namespace lumivane
