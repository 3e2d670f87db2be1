#include "pipeline/watermark_text.h"

#include <algorithm>
#include <cmath>

#include "platform/ascii_text.h"
#include "platform/drawing_2d.h"
#include "platform/drawing_image.h"

namespace lumivane {

WatermarkLines SplitWatermarkLines(std::string_view text) {
  WatermarkLines result;
  std::size_t pieceStart = 0;
  for (std::size_t i = 0; i < text.size();) {
    if (HoldsIgnoringAsciiCase(text, i, kLineMarker)) {
      result.lines.emplace_back(text.substr(pieceStart, i - pieceStart));
      result.hasMarker = true;
      i += kLineMarker.size();
      pieceStart = i;
    } else {
      ++i;
    }
  }
  result.lines.emplace_back(text.substr(pieceStart));
  return result;
}

std::optional<std::vector<LineSize>> MeasureWatermarkLines(const std::vector<std::string>& lines,
                                                           const DrawingFont& font) {
  DrawingImage surface = CreateDrawingImage(1, 1);
  Drawing2D drawing(surface);
  if (!drawing.IsOpen()) return std::nullopt;
  drawing.SetFont(font);
  std::vector<LineSize> sizes;
  for (const std::string& line : lines) {
    const std::optional<TextSize> size = drawing.MeasureText(line);
    if (!size) return std::nullopt;
    sizes.push_back({size->width, size->height});
  }
  return sizes;
}

TextBox LayOutTextBox(const std::optional<std::vector<LineSize>>& sizes, bool hasMarker, std::int32_t leading,
                      std::int32_t padding) {
  TextBox box{kMinimumLineSide, kMinimumLineSide, kMinimumLineSide, kMinimumLineSide + leading};
  if (sizes && !sizes->empty() && !hasMarker) {
    box.width = sizes->front().width;
    box.height = sizes->front().height;
    box.lineHeight = box.height;
    box.lineStep = box.height + leading;
  } else if (sizes && !sizes->empty()) {
    for (const LineSize& size : *sizes) {
      box.width = std::max(box.width, size.width);
      box.lineHeight = std::max(box.lineHeight, size.height);
    }
    box.lineStep = box.lineHeight + leading;
    box.height = box.lineHeight + static_cast<std::int64_t>(sizes->size() - 1) * box.lineStep;
  }
  box.width += 2 * std::int64_t{padding};
  box.height += 2 * std::int64_t{padding};
  return box;
}

std::int64_t AlignLine(TextAlignment alignment, std::int64_t lineWidth, std::int64_t boxWidth, std::int32_t padding) {
  switch (alignment) {
    case TextAlignment::kLeft: return padding;
    case TextAlignment::kCenter: return std::llround(static_cast<double>(boxWidth - lineWidth) / 2.0);
    case TextAlignment::kRight: return boxWidth - lineWidth - padding;
    default: return 0;
  }
}

}  // namespace lumivane
