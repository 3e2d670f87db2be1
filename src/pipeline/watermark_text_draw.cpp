// The text watermark: the text box drawn by the raster route (colours carry their opacities, written unblended)
// or by the antialiased vector route (box and text drawn opaque, then faded separately).
#include <cmath>
#include <functional>

#include "pipeline/colour_alpha.h"
#include "pipeline/watermark_render.h"
#include "pipeline/watermark_text.h"
#include "platform/available_memory.h"
#include "platform/drawing_2d.h"
#include "platform/drawing_vector.h"

namespace lumivane {
namespace {

// Drawing images of the box's size alive at once on the way to the picture, counted generously: the box, the
// text and their composition, the PNG rows and bytes, the decoded and the rotated bitmap.
constexpr std::uint64_t kBoxCopies = 8;

struct TextPlan {
  WatermarkLines lines;
  TextBox box;
};

// Where each line starts: with a marker aligned (lineWidth gives a line's width for that) and one line step
// apart; without one the text at (padding, padding).
template <typename Draw>
void ForEachLine(const TextPlan& plan, const Settings::Watermark& watermark,
                 const std::function<std::int64_t(const std::string&)>& lineWidth, Draw draw) {
  std::int64_t y = watermark.textPadding;
  for (const std::string& line : plan.lines.lines) {
    const std::int64_t x = plan.lines.hasMarker ? AlignLine(watermark.textAlignment, lineWidth(line), plan.box.width,
                                                            watermark.textPadding)
                                                : watermark.textPadding;
    draw(line, x, y);
    y += plan.box.lineStep;
  }
}

DrawingImage DrawRasterText(const TextPlan& plan, const Settings::Watermark& watermark, const DrawingFont& font) {
  const Rgba textColour = ParseColourAlpha(watermark.fontColor, watermark.textOpacity);
  const Rgba boxColour = ParseColourAlpha(watermark.backColor, watermark.backOpacity);
  DrawingImage box = CreateDrawingImage(plan.box.width, plan.box.height);
  Drawing2D drawing(box);
  if (!drawing.IsOpen() || !drawing.SetMode(DrawingMode::kAllChannels)) return {};
  drawing.SetFont(font);
  // The box is uniform, so any point of it fills all of it; (1, 1) unless the box is thinner than that.
  drawing.FloodFill(std::min<std::int64_t>(1, plan.box.width - 1), std::min<std::int64_t>(1, plan.box.height - 1),
                    boxColour);
  const auto measuredWidth = [&drawing](const std::string& line) {
    const std::optional<TextSize> size = drawing.MeasureText(line);
    return size ? std::int64_t{size->width} : std::int64_t{0};
  };
  ForEachLine(plan, watermark, measuredWidth, [&](const std::string& line, std::int64_t x, std::int64_t y) {
    drawing.DrawText(x, y, line, textColour, boxColour);
  });
  drawing.Stop();
  // Drawn over a transparent image of its own size the box would stay as it is, so it is the result.
  return box;
}

DrawingImage DrawVectorText(const TextPlan& plan, const Settings::Watermark& watermark, const DrawingFont& font) {
  DrawingImage back = CreateDrawingImage(plan.box.width, plan.box.height);
  VectorDrawing backDrawing(back);
  backDrawing.SetSourceColour(ParseColourAlpha(watermark.backColor, 255));
  if (!backDrawing.FillOutput()) return {};
  backDrawing.Stop();

  DrawingImage text = CreateDrawingImage(plan.box.width, plan.box.height);
  VectorDrawing textDrawing(text);
  if (!textDrawing.IsOpen()) return {};
  textDrawing.SetFont(font);
  textDrawing.SetSourceColour(ParseColourAlpha(watermark.fontColor, 255));
  const auto vectorWidth = [&textDrawing](const std::string& line) {
    const std::optional<double> width = textDrawing.TextWidth(line);
    return width ? static_cast<std::int64_t>(std::llround(*width)) : std::int64_t{0};
  };
  ForEachLine(plan, watermark, vectorWidth, [&](const std::string& line, std::int64_t x, std::int64_t y) {
    if (textDrawing.MovePathCursor(static_cast<double>(x), static_cast<double>(y))) textDrawing.DrawText(line);
  });
  textDrawing.Stop();

  DrawingImage composed = CreateDrawingImage(plan.box.width, plan.box.height);
  Drawing2D composing(composed);
  if (!composing.DrawImage(back, 0, 0, watermark.backOpacity) ||
      !composing.DrawImage(text, 0, 0, watermark.textOpacity)) {
    return {};
  }
  composing.Stop();
  return composed;
}

bool BoxFitsInMemory(const TextBox& box) {
  if (!IsDrawingImageSize(box.width, box.height)) return false;
  const auto bytes = static_cast<std::uint64_t>(box.width) * static_cast<std::uint64_t>(box.height) * 4;
  return bytes * kBoxCopies <= AvailableMemoryBytes();
}

}  // namespace

DrawingImage RenderTextWatermark(const Settings::Watermark& watermark, const WatermarkInputs& inputs) {
  if (inputs.font == nullptr || !inputs.font->IsFont()) return {};
  TextPlan plan;
  plan.lines = SplitWatermarkLines(inputs.text);
  plan.box = LayOutTextBox(MeasureWatermarkLines(plan.lines.lines, *inputs.font), plan.lines.hasMarker,
                           watermark.fontLeading, watermark.textPadding);
  if (!BoxFitsInMemory(plan.box)) return {};
  return watermark.textAntialiasing == 0 ? DrawRasterText(plan, watermark, *inputs.font)
                                         : DrawVectorText(plan, watermark, *inputs.font);
}

DrawingFont LoadWatermarkFont(const Settings& settings) {
  const Settings::Watermark& watermark = settings.watermark;
  TextStyle style;
  style.bold = HasStyle(watermark.fontStyle, FontStyle::kBold);
  style.italic = HasStyle(watermark.fontStyle, FontStyle::kItalic);
  style.underline = watermark.fontEffect == FontEffect::kUnderline;
  style.strikeout = watermark.fontEffect == FontEffect::kStrikeout;
  return LoadFont(watermark.font, watermark.fontSize, style);
}

}  // namespace lumivane
