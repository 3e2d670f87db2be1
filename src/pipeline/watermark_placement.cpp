#include "pipeline/watermark_placement.h"

#include <iterator>

#include "pipeline/frame_paths.h"

namespace lumivane {
namespace {

// Where the watermark starts along one axis of the area.
enum class Anchor { kStart, kCentre, kEnd };

struct PositionRow {
  Anchor horizontal;
  Anchor vertical;
};

// One row per position, in code order (top left, top centre, ... bottom right).
constexpr PositionRow kPositions[] = {
    {Anchor::kStart, Anchor::kStart},  {Anchor::kCentre, Anchor::kStart},  {Anchor::kEnd, Anchor::kStart},
    {Anchor::kStart, Anchor::kCentre}, {Anchor::kCentre, Anchor::kCentre}, {Anchor::kEnd, Anchor::kCentre},
    {Anchor::kStart, Anchor::kEnd},    {Anchor::kCentre, Anchor::kEnd},    {Anchor::kEnd, Anchor::kEnd},
};
static_assert(std::size(kPositions) == std::size(kPositionKeywords));

// C++ division truncates toward zero, as the placement wants.
std::int64_t AlongAxis(Anchor anchor, std::int64_t areaSide, std::int64_t side, std::int64_t offset) {
  switch (anchor) {
    case Anchor::kStart: return offset;
    case Anchor::kCentre: return (areaSide - side) / 2;
    case Anchor::kEnd: return areaSide - side - offset;
  }
  return 0;
}

}  // namespace

WatermarkArea WatermarkBoundaryArea(std::int64_t width, std::int64_t height, Boundary boundary,
                                    const Settings::Frame& frame) {
  if (frame.doFrame != FrameKind::kSolid || boundary != Boundary::kFrame) return {0, 0, width, height};
  const FrameSides sides = SolidFrameSides(frame, width, height);
  return {sides.left, sides.top, width - sides.left - sides.right, height - sides.top - sides.bottom};
}

WatermarkSize ClipWatermark(WatermarkSize size, WatermarkOffsets offsets, const WatermarkArea& area) {
  if (size.width + offsets.x > area.width) size.width = area.width - offsets.x;
  if (size.height + offsets.y > area.height) size.height = area.height - offsets.y;
  return size;
}

WatermarkArea PlaceWatermark(Position position, WatermarkSize size, WatermarkOffsets offsets,
                             const WatermarkArea& area) {
  WatermarkArea placed{area.x, area.y, size.width, size.height};
  const std::int32_t code = CodeOf(position);
  if (code < 0 || code >= static_cast<std::int32_t>(std::size(kPositions))) return placed;
  const PositionRow& row = kPositions[code];
  placed.x += AlongAxis(row.horizontal, area.width, size.width, offsets.x);
  placed.y += AlongAxis(row.vertical, area.height, size.height, offsets.y);
  return placed;
}

bool FitsInPicture(const WatermarkArea& placed, std::int64_t width, std::int64_t height) {
  return placed.width > 0 && placed.height > 0 && placed.x >= 0 && placed.y >= 0 && placed.x + placed.width <= width &&
         placed.y + placed.height <= height;
}

}  // namespace lumivane
