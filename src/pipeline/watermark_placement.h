#pragma once
// Where a watermark goes: the boundary area it is placed in, clipping by the offsets, and the nine positions.
#include <cstdint>

#include "settings/settings.h"

namespace lumivane {

// A rectangle on the picture; counted in 64 bits so that no setting can make it overflow.
struct WatermarkArea {
  std::int64_t x = 0;
  std::int64_t y = 0;
  std::int64_t width = 0;
  std::int64_t height = 0;
  bool operator==(const WatermarkArea&) const = default;
};

struct WatermarkSize {
  std::int64_t width = 0;
  std::int64_t height = 0;
  bool operator==(const WatermarkSize&) const = default;
};

struct WatermarkOffsets {
  std::int64_t x = 0;
  std::int64_t y = 0;
};

// The whole width x height picture, or with a solid frame on and boundary FRAME the part inside the frame.
// The frame's widths are taken as the frame step takes them; a frame wider than the picture leaves an empty or
// negative area, where nothing fits.
WatermarkArea WatermarkBoundaryArea(std::int64_t width, std::int64_t height, Boundary boundary,
                                    const Settings::Frame& frame);

// A watermark reaching past the area's right or bottom edge from its offset is cut to end there, whatever the
// position (also along a centred axis). The result can be empty or negative: then nothing is left to draw.
WatermarkSize ClipWatermark(WatermarkSize size, WatermarkOffsets offsets, const WatermarkArea& area);

// Top-left corner on the picture for the position; offsets count from the chosen edges and not along a centred
// axis; an unknown code gives the area's origin.
WatermarkArea PlaceWatermark(Position position, WatermarkSize size, WatermarkOffsets offsets,
                             const WatermarkArea& area);

// True when the placed watermark lies wholly inside a width x height picture and is not empty.
bool FitsInPicture(const WatermarkArea& placed, std::int64_t width, std::int64_t height);

}  // namespace lumivane
