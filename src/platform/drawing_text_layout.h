#pragma once
// Text layouts of the drawing layer's own files: one line of text in a font, ready to measure or draw.
#include <cairo.h>
#include <pango/pangocairo.h>

#include <memory>
#include <string_view>

#include "platform/drawing_font.h"

namespace lumivane {

// Raster text is drawn without antialiasing at whole-pixel advances; vector text antialiased at exact advances.
enum class TextRendering { kRaster, kVector };

struct LayoutUnref {
  void operator()(PangoLayout* layout) const { g_object_unref(layout); }
};
using TextLayout = std::unique_ptr<PangoLayout, LayoutUnref>;

// A single-line layout (a line break inside the text is drawn as a character, not followed); text that is
// not valid UTF-8 has its bad bytes replaced. Null without a font or a usable context.
TextLayout MakeTextLayout(cairo_t* context, const DrawingFont& font, std::string_view text, TextRendering rendering);

}  // namespace lumivane
