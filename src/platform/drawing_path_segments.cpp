#include "platform/drawing_path_segments.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace lumivane {
namespace {

struct SegmentLetter {
  char letter;
  PathStepKind kind;
  bool relative;
};

constexpr SegmentLetter kSegmentLetters[] = {
    {'M', PathStepKind::kMoveTo, false}, {'m', PathStepKind::kMoveTo, true}, {'L', PathStepKind::kLineTo, false},
    {'l', PathStepKind::kLineTo, true},  {'Z', PathStepKind::kClose, false}, {'z', PathStepKind::kClose, false},
};

const SegmentLetter* FindLetter(char letter) {
  for (const SegmentLetter& row : kSegmentLetters) {
    if (row.letter == letter) return &row;
  }
  return nullptr;
}

class SegmentReader {
 public:
  explicit SegmentReader(std::string_view text) : text_(text) {}

  bool AtEnd() {
    SkipBlanks();
    return position_ >= text_.size();
  }
  // A letter standing alone or directly followed by a number ("M0" is read as "M 0").
  std::optional<char> Letter() {
    SkipBlanks();
    if (position_ >= text_.size() || !std::isalpha(static_cast<unsigned char>(text_[position_]))) return std::nullopt;
    return text_[position_++];
  }
  std::optional<double> Number() {
    SkipBlanks();
    std::size_t start = position_;
    if (start + 1 < text_.size() && text_[start] == '+' && std::isdigit(static_cast<unsigned char>(text_[start + 1]))) {
      ++start;  // from_chars takes "-" only
    }
    long long value = 0;
    const auto [end, error] = std::from_chars(text_.data() + start, text_.data() + text_.size(), value);
    if (error != std::errc() ||
        (end != text_.data() + text_.size() && !IsBlank(*end) && !std::isalpha(static_cast<unsigned char>(*end)))) {
      return std::nullopt;
    }
    position_ = static_cast<std::size_t>(end - text_.data());
    const auto limit = static_cast<long long>(kMaxPathCoordinate);
    if (value > limit || value < -limit) return std::nullopt;
    return static_cast<double>(value);
  }

 private:
  static bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
  void SkipBlanks() {
    while (position_ < text_.size() && IsBlank(text_[position_])) ++position_;
  }

  std::string_view text_;
  std::size_t position_ = 0;
};

bool InRange(const PathPoint& point) {
  return std::fabs(point.x) <= kMaxPathCoordinate && std::fabs(point.y) <= kMaxPathCoordinate;
}

}  // namespace

std::optional<std::vector<PathStep>> ParsePathSegments(std::string_view text, std::optional<PathPoint> cursor) {
  std::vector<PathStep> steps;
  std::optional<PathPoint> figureStart = cursor;
  SegmentReader reader(text);
  while (!reader.AtEnd()) {
    const std::optional<char> letter = reader.Letter();
    const SegmentLetter* row = letter ? FindLetter(*letter) : nullptr;
    if (row == nullptr) return std::nullopt;
    if (row->kind == PathStepKind::kClose) {
      if (!figureStart) return std::nullopt;
      steps.push_back({PathStepKind::kClose, *figureStart});
      cursor = figureStart;
      continue;
    }
    const std::optional<double> x = reader.Number();
    const std::optional<double> y = x ? reader.Number() : std::nullopt;
    if (!y || (row->relative && !cursor) || (row->kind == PathStepKind::kLineTo && !cursor)) return std::nullopt;
    PathPoint point{*x, *y};
    if (row->relative) point = {cursor->x + *x, cursor->y + *y};
    if (!InRange(point)) return std::nullopt;
    steps.push_back({row->kind, point});
    cursor = point;
    if (row->kind == PathStepKind::kMoveTo) figureStart = point;
  }
  return steps;
}

}  // namespace lumivane
