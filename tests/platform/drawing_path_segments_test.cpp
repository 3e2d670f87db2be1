#include "platform/drawing_path_segments.h"

#include <gtest/gtest.h>

namespace lumivane::testing {
namespace {

using Kind = PathStepKind;

struct SegmentCase {
  const char* text;
  std::optional<PathPoint> cursor;
  std::optional<std::vector<PathStep>> steps;
};

TEST(PathSegments, ReadsAbsoluteMovesRelativeLinesAndClose) {
  const std::vector<SegmentCase> cases = {
      {"M 0 0 l 100 0 l -10 10 l -80 0 Z", std::nullopt,
       std::vector<PathStep>{{Kind::kMoveTo, {0, 0}},
                             {Kind::kLineTo, {100, 0}},
                             {Kind::kLineTo, {90, 10}},
                             {Kind::kLineTo, {10, 10}},
                             {Kind::kClose, {0, 0}}}},
      {"M 100 80 l -100 0 Z l 5 5", std::nullopt,
       std::vector<PathStep>{{Kind::kMoveTo, {100, 80}},
                             {Kind::kLineTo, {0, 80}},
                             {Kind::kClose, {100, 80}},
                             {Kind::kLineTo, {105, 85}}}},
      {"l 3 4", PathPoint{10, 20}, std::vector<PathStep>{{Kind::kLineTo, {13, 24}}}},
      {"M0 0l10 0", std::nullopt, std::vector<PathStep>{{Kind::kMoveTo, {0, 0}}, {Kind::kLineTo, {10, 0}}}},
      {"  M\t+7 -8  ", std::nullopt, std::vector<PathStep>{{Kind::kMoveTo, {7, -8}}}},
      {"m 1 1 L 4 5 z", PathPoint{2, 2},
       std::vector<PathStep>{{Kind::kMoveTo, {3, 3}}, {Kind::kLineTo, {4, 5}}, {Kind::kClose, {3, 3}}}},
      {"", std::nullopt, std::vector<PathStep>{}},
      // Malformed texts.
      {"l 5 5", std::nullopt, std::nullopt},  // a line needs a current point
      {"Z", std::nullopt, std::nullopt},
      {"M 0", std::nullopt, std::nullopt},
      {"M 0 0 l --5 3", std::nullopt, std::nullopt},  // a negative width after a literal minus
      {"M 0 0 l -+5 3", std::nullopt, std::nullopt},
      {"M 1.5 2", std::nullopt, std::nullopt},
      {"M 1,2", std::nullopt, std::nullopt},
      {"C 1 2", std::nullopt, std::nullopt},
      {"M 0 0 x", std::nullopt, std::nullopt},
      {"M 99999999999999999999 0", std::nullopt, std::nullopt},
      {"M 4194305 0", std::nullopt, std::nullopt},  // beyond the coordinate limit
      {"M 4194304 0 l 1 0", std::nullopt, std::nullopt},
      {"M 4194300 0 l 10 0", std::nullopt, std::nullopt},  // reached, not given
  };
  for (const SegmentCase& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParsePathSegments(c.text, c.cursor), c.steps);
  }
}

}  // namespace
}  // namespace lumivane::testing
