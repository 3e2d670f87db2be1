// Antialiased text of the vector drawing.
#include "platform/drawing_text_layout.h"
#include "platform/drawing_vector.h"

namespace lumivane {

void VectorDrawing::SetFont(const DrawingFont& font) { font_ = font; }

std::optional<double> VectorDrawing::TextWidth(std::string_view text) const {
  const TextLayout layout = MakeTextLayout(context_, font_, text, TextRendering::kVector);
  if (!layout) return std::nullopt;
  PangoRectangle logical;
  pango_layout_get_extents(layout.get(), nullptr, &logical);
  return static_cast<double>(logical.width) / PANGO_SCALE;
}

bool VectorDrawing::DrawText(std::string_view text) {
  const TextLayout layout = MakeTextLayout(context_, font_, text, TextRendering::kVector);
  if (!layout) return false;
  double x = 0;
  double y = 0;
  if (cairo_has_current_point(context_)) cairo_get_current_point(context_, &x, &y);
  cairo_move_to(context_, x, y);
  pango_cairo_show_layout(context_, layout.get());
  PangoRectangle logical;
  pango_layout_get_extents(layout.get(), nullptr, &logical);
  cairo_move_to(context_, x + static_cast<double>(logical.width) / PANGO_SCALE, y);
  return cairo_status(context_) == CAIRO_STATUS_SUCCESS;
}

}  // namespace lumivane
