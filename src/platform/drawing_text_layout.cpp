#include "platform/drawing_text_layout.h"

namespace lumivane {
namespace {

void ApplyRendering(PangoContext* context, TextRendering rendering) {
  cairo_font_options_t* options = cairo_font_options_create();
  const bool raster = rendering == TextRendering::kRaster;
  cairo_font_options_set_antialias(options, raster ? CAIRO_ANTIALIAS_NONE : CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_metrics(options, raster ? CAIRO_HINT_METRICS_ON : CAIRO_HINT_METRICS_OFF);
  pango_cairo_context_set_font_options(context, options);
  cairo_font_options_destroy(options);
  pango_cairo_context_set_resolution(context, 96.0);
  pango_context_set_round_glyph_positions(context, raster ? TRUE : FALSE);
}

void ApplyEffects(PangoLayout* layout, const TextStyle& style) {
  if (!style.underline && !style.strikeout) return;
  PangoAttrList* attributes = pango_attr_list_new();
  if (style.underline) pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
  if (style.strikeout) pango_attr_list_insert(attributes, pango_attr_strikethrough_new(TRUE));
  pango_layout_set_attributes(layout, attributes);
  pango_attr_list_unref(attributes);
}

}  // namespace

TextLayout MakeTextLayout(cairo_t* context, const DrawingFont& font, std::string_view text, TextRendering rendering) {
  if (context == nullptr || cairo_status(context) != CAIRO_STATUS_SUCCESS || !font.IsFont()) return nullptr;
  TextLayout layout(pango_cairo_create_layout(context));
  if (!layout) return nullptr;
  ApplyRendering(pango_layout_get_context(layout.get()), rendering);
  pango_layout_context_changed(layout.get());
  pango_layout_set_font_description(layout.get(), font.Description());
  pango_layout_set_single_paragraph_mode(layout.get(), TRUE);
  ApplyEffects(layout.get(), font.Style());
  gchar* valid = text.empty() ? g_strdup("") : g_utf8_make_valid(text.data(), static_cast<gssize>(text.size()));
  pango_layout_set_text(layout.get(), valid, -1);
  g_free(valid);
  return layout;
}

}  // namespace lumivane
