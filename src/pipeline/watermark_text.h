#pragma once
// The text box of a text watermark: lines split at the line marker, their measured sizes, the box around
// them and where each line starts.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/drawing_font.h"
#include "settings/setting_codes.h"

namespace lumivane {

// The line marker; it counts in any letter case.
inline constexpr std::string_view kLineMarker = "%eol%";
// With a marker, the box is at least this wide and a line at least this high.
inline constexpr std::int64_t kMinimumLineSide = 10;

struct WatermarkLines {
  std::vector<std::string> lines;  // without a marker: the whole text as one line
  bool hasMarker = false;          // then lines.size() - 1 markers were found; empty pieces are lines too
};
WatermarkLines SplitWatermarkLines(std::string_view text);

struct LineSize {
  std::int64_t width = 0;
  std::int64_t height = 0;
};

// The lines measured with the font by the raster text drawing; none when they cannot be measured.
std::optional<std::vector<LineSize>> MeasureWatermarkLines(const std::vector<std::string>& lines,
                                                           const DrawingFont& font);

struct TextBox {
  std::int64_t width = 0;       // bw, both paddings included
  std::int64_t height = 0;      // bh, both paddings included
  std::int64_t lineHeight = 0;  // lh
  std::int64_t lineStep = 0;    // ls: from one line's top to the next one's
  bool operator==(const TextBox&) const = default;
};

// The box around the measured lines (none measured: a box of 10 x 10 before padding). With a marker the widest
// and highest line count, each at least 10, and n markers make the box lh + n * ls high; without one the box is
// the text's own size.
TextBox LayOutTextBox(const std::optional<std::vector<LineSize>>& sizes, bool hasMarker, std::int32_t leading,
                      std::int32_t padding);

// Left edge of a line of width lineWidth in a box of width boxWidth (which contains both paddings): LEFT at
// the padding, CENTER in the middle of the whole box (halves rounded away from zero), RIGHT at the padding from
// the right edge, any other code at 0.
std::int64_t AlignLine(TextAlignment alignment, std::int64_t lineWidth, std::int64_t boxWidth, std::int32_t padding);

}  // namespace lumivane
