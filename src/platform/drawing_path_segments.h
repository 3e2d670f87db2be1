#pragma once
// Reading path segment text: "M x y" moves to an absolute point, "l dx dy" draws a line by a relative offset,
// "Z" closes the figure ("m", "L" and "z" likewise); numbers are decimal integers separated by blanks.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace lumivane {

enum class PathStepKind { kMoveTo, kLineTo, kClose };

struct PathPoint {
  double x = 0;
  double y = 0;
  bool operator==(const PathPoint&) const = default;
};

// One step with its absolute end point (for kClose, the start of the figure it returns to).
struct PathStep {
  PathStepKind kind = PathStepKind::kMoveTo;
  PathPoint point;
  bool operator==(const PathStep&) const = default;
};

// Coordinates, given or reached, further out than this make the text malformed.
inline constexpr double kMaxPathCoordinate = 1 << 22;

// The steps of the text, relative offsets resolved from `cursor` (the current point, if any). None when the
// text is malformed: an unknown letter, a missing or non-integer number, a line without a current point,
// or a coordinate out of range.
std::optional<std::vector<PathStep>> ParsePathSegments(std::string_view text, std::optional<PathPoint> cursor);

}  // namespace lumivane
