#include "platform/drawing_font.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/drawing_2d.h"

namespace lumivane::testing {
namespace {

struct FaceCase {
  const char* face;
  bool exists;
};

// The fonts the project installs: Liberation (with the usual metric aliases) and DejaVu.
TEST(DrawingFont, FaceExistsOnlyWhenFontconfigHasItOrAMetricStandIn) {
  const FaceCase cases[] = {
      {"Arial", true},       {"arial", true},       {"Liberation Sans", true},  {"Times New Roman", true},
      {"Courier New", true}, {"DejaVu Sans", true}, {"DejaVu Sans Mono", true}, {"Qwzx Nonsense Face", false},
      {"", false},           {"sans-serif", false}, {"monospace", false},       {"Arial\xff", false},
  };
  for (const FaceCase& c : cases) {
    SCOPED_TRACE(c.face);
    EXPECT_EQ(FontFaceExists(c.face), c.exists);
    EXPECT_EQ(LoadFont(c.face, 12, {}).IsFont(), c.exists);
  }
}

TEST(DrawingFont, SizeMustBeAtLeastOnePointAndSane) {
  const struct {
    double points;
    bool made;
  } cases[] = {{0, false},
               {0.99, false},
               {-12, false},
               {std::nan(""), false},
               {std::numeric_limits<double>::infinity(), false},
               {kMaxFontPoints + 1, false},
               {1, true},
               {12, true},
               {kMaxFontPoints, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.points);
    EXPECT_EQ(LoadFont("Arial", c.points, {}).IsFont(), c.made);
  }
}

int WidthOf(const DrawingFont& font, const char* text) {
  DrawingImage image = CreateDrawingImage(1, 1);
  Drawing2D drawing(image);
  drawing.SetFont(font);
  const auto size = drawing.MeasureText(text);
  return size ? size->width : -1;
}

TEST(DrawingFont, PointsAreMeasuredAtNinetySixDotsPerInch) {
  // Liberation Sans "M" advances 1706/2048 em; 12 points at 96 dpi are 16 pixels, so ten of them ~133 pixels
  // (whole-pixel advances may round each one down to 13); at 72 dpi they would be 100.
  const int width = WidthOf(LoadFont("Arial", 12, {}), "MMMMMMMMMM");
  EXPECT_GE(width, 125);
  EXPECT_LE(width, 142);
  const int doubled = WidthOf(LoadFont("Arial", 24, {}), "MMMMMMMMMM");
  EXPECT_NEAR(doubled, 2 * width, 12);
}

TEST(DrawingFont, BoldIsWiderAndCopiesAreIndependent) {
  DrawingFont regular = LoadFont("Arial", 20, {});
  const DrawingFont bold = LoadFont("Arial", 20, {.bold = true});
  EXPECT_GT(WidthOf(bold, "Watermark text"), WidthOf(regular, "Watermark text"));
  const DrawingFont copy = regular;
  const int before = WidthOf(regular, "abc");
  regular = DrawingFont();
  EXPECT_FALSE(regular.IsFont());
  EXPECT_EQ(WidthOf(copy, "abc"), before);
  EXPECT_TRUE(copy.Style().bold == false && bold.Style().bold);
}

}  // namespace
}  // namespace lumivane::testing
