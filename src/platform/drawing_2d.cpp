#include "platform/drawing_2d.h"

#include <algorithm>
#include <vector>

#include "platform/drawing_pixel_writer.h"
#include "platform/drawing_text_layout.h"

namespace lumivane {

Drawing2D::Drawing2D(DrawingImage& image) {
  if (!SurfacePixels(image.Surface()).IsValid()) return;
  cairo_t* context = cairo_create(image.Surface());
  if (cairo_status(context) != CAIRO_STATUS_SUCCESS) {
    cairo_destroy(context);
    return;
  }
  target_ = image.Surface();
  context_ = context;
}

Drawing2D::~Drawing2D() { Stop(); }

void Drawing2D::Stop() {
  if (context_ != nullptr) cairo_destroy(context_);
  context_ = nullptr;
  target_ = nullptr;
}

void Drawing2D::SetFont(const DrawingFont& font) { font_ = font; }

bool Drawing2D::SetMode(DrawingMode mode, PixelFilter filter) {
  if (mode == DrawingMode::kFilter && !filter) return false;
  mode_ = mode;
  filter_ = std::move(filter);
  return true;
}

std::optional<TextSize> Drawing2D::MeasureText(std::string_view text) const {
  const TextLayout layout = MakeTextLayout(context_, font_, text, TextRendering::kRaster);
  if (!layout) return std::nullopt;
  PangoRectangle logical;
  pango_layout_get_pixel_extents(layout.get(), nullptr, &logical);
  return TextSize{logical.width, logical.height};
}

bool Drawing2D::DrawImage(const DrawingImage& source, std::int64_t x, std::int64_t y, int alpha) {
  const SurfacePixels from(source.Surface());
  const SurfacePixels to(target_);
  if (!IsOpen() || !from.IsValid() || !to.IsValid()) return false;
  if (!IsDrawingCoordinate(x) || !IsDrawingCoordinate(y)) return false;
  const PixelRect area = ClipToImage(x, y, from.Width(), from.Height(), to.Width(), to.Height());
  if (area.IsEmpty()) return true;

  // Drawing an image onto itself reads from a copy, so that written pixels are not read again.
  std::vector<PremultipliedPixel> copy;
  if (source.Surface() == target_) {
    for (std::int64_t row = 0; row < from.Height(); ++row) {
      copy.insert(copy.end(), from.Row(row), from.Row(row) + from.Width());
    }
  }
  const auto sourceRow = [&](std::int64_t row) {
    return copy.empty() ? from.Row(row) : copy.data() + row * from.Width();
  };

  const auto constantAlpha = static_cast<std::uint32_t>(std::clamp(alpha, 0, 255));
  const PixelWriter writer(mode_, filter_);
  for (std::int64_t ty = area.top; ty < area.bottom; ++ty) {
    const PremultipliedPixel* in = sourceRow(ty - y);
    PremultipliedPixel* out = to.Row(ty);
    for (std::int64_t tx = area.left; tx < area.right; ++tx) {
      writer.PutPixel(out[tx], FadePixel(in[tx - x], constantAlpha));
    }
  }
  to.MarkChanged();
  return true;
}

}  // namespace lumivane
