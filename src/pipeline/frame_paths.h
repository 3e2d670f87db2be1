#pragma once
// The shapes of a solid frame: a rectangle under each corner, then the four trapezoids of the sides, which meet
// along the corners' diagonals.
#include <array>
#include <cstdint>
#include <string>

#include "settings/settings.h"

namespace lumivane {

// Side widths in pixels as the frame uses them.
struct FrameSides {
  std::int64_t left = 0;
  std::int64_t right = 0;
  std::int64_t top = 0;
  std::int64_t bottom = 0;
  bool operator==(const FrameSides&) const = default;
};

// The widths of the settings for a width x height picture: a negative width counts as 0, and a width larger
// than the picture (left and right against the width, top and bottom against the height) as the picture's size.
FrameSides SolidFrameSides(const Settings::Frame& frame, std::int64_t width, std::int64_t height);

enum class FrameSide { kTop, kRight, kBottom, kLeft };

// One filled shape: a rectangle (left, top, width, height) or, when `path` is not empty, a path in segment text.
struct FrameShape {
  FrameSide side = FrameSide::kTop;  // whose colour fills it
  std::array<std::int64_t, 4> box{};
  std::string path;
};

// The eight shapes in drawing order: the corner rectangles (top, right, bottom, left colour), then the
// trapezoids of the top, right, bottom and left side.
std::array<FrameShape, 8> SolidFrameShapes(const FrameSides& sides, std::int64_t width, std::int64_t height);

}  // namespace lumivane
