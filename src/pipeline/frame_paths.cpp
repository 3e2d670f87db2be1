#include "pipeline/frame_paths.h"

#include <algorithm>

namespace lumivane {
namespace {

std::int64_t SideWidth(std::int32_t setting, std::int64_t limit) {
  return std::clamp<std::int64_t>(setting, 0, std::max<std::int64_t>(limit, 0));
}

std::string Number(std::int64_t value) { return std::to_string(value); }

}  // namespace

FrameSides SolidFrameSides(const Settings::Frame& frame, std::int64_t width, std::int64_t height) {
  return {SideWidth(frame.solidLeft, width), SideWidth(frame.solidRight, width), SideWidth(frame.solidTop, height),
          SideWidth(frame.solidBottom, height)};
}

// Each path text is literal pieces with the values between them; a value after a literal minus sign is written
// as it is, so two sides wider together than the picture give a text the path reader refuses.
std::array<FrameShape, 8> SolidFrameShapes(const FrameSides& sides, std::int64_t width, std::int64_t height) {
  const std::int64_t w = width;
  const std::int64_t h = height;
  const std::int64_t l = sides.left;
  const std::int64_t r = sides.right;
  const std::int64_t t = sides.top;
  const std::int64_t b = sides.bottom;
  return {{
      {FrameSide::kTop, {0, 0, l, t}, ""},
      {FrameSide::kRight, {w - r, 0, r, t}, ""},
      {FrameSide::kBottom, {w - r, h - b, r, b}, ""},
      {FrameSide::kLeft, {0, h - b, l, b}, ""},
      {FrameSide::kTop, {}, "M 0 0 l " + Number(w) + " 0 l -" + Number(r) + " " + Number(t) + " l -" +
                                Number(w - r - l) + " 0 Z"},
      {FrameSide::kRight, {}, "M " + Number(w) + " 0 l 0 " + Number(h) + " l -" + Number(r) + " -" + Number(b) +
                                  " l 0 -" + Number(h - b - t) + " Z"},
      {FrameSide::kBottom, {}, "M " + Number(w) + " " + Number(h) + " l -" + Number(w) + " 0 l " + Number(l) +
                                   " -" + Number(b) + " l " + Number(w - r - l) + " 0 Z"},
      {FrameSide::kLeft, {}, "M 0 " + Number(h) + " l 0 -" + Number(h) + " l " + Number(l) + " " + Number(t) +
                                 " l 0 " + Number(h - b - t) + " Z"},
  }};
}

}  // namespace lumivane
