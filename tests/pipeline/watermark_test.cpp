// Text and picture watermarks as they show in the picture.
#include <gtest/gtest.h>

#include <climits>
#include <set>

#include "pipeline/edit_steps.h"
#include "pipeline/watermark_text.h"
#include "platform/drawing_font.h"
#include "settings/setting_codes.h"
#include "support/picture_pixels.h"

namespace lumivane::testing {
namespace {

constexpr Rgb kPicture{0, 100, 0};
constexpr Rgb kBoxBlue{0, 0, 255};
constexpr Rgb kRed{255, 0, 0};
// A watermark is pasted onto its canvas at alpha 255 and then composited, and FreeImage scales by 255/256 in
// each: an opaque 255 arrives as 252.
constexpr int kPasteLoss = 3;

const DrawingFont& Arial(int points = 14, TextStyle style = {}) {
  static const DrawingFont regular = LoadFont("Arial", 14, {});
  static DrawingFont other;
  if (points == 14 && !style.bold && !style.italic && !style.underline && !style.strikeout) return regular;
  other = LoadFont("Arial", points, style);
  return other;
}

// A text watermark with a visible box: white text on opaque blue.
Settings TextSettings() {
  Settings settings = DefaultSettings();
  settings.watermark.doWatermark = WatermarkKind::kText;
  settings.watermark.backColor = "0000FF";
  settings.watermark.backOpacity = 255;
  return settings;
}

Settings PictureSettings(const std::string& path) {
  Settings settings = DefaultSettings();
  settings.watermark.doWatermark = WatermarkKind::kImage;
  settings.watermark.image = path;
  return settings;
}

UniqueBitmap Watermarked(int width, int height, const Settings& settings, const WatermarkInputs& inputs = {},
                         Rgb picture = kPicture, int bpp = 24) {
  UniqueBitmap image = MakeSolidPicture(width, height, picture, bpp);
  return UniqueBitmap(DrawWatermark(image.release(), width, height, settings, inputs));
}

// The text box's size as the watermark measures it.
TextBox BoxOf(const std::string& text, const Settings& settings, const DrawingFont& font = Arial()) {
  const WatermarkLines lines = SplitWatermarkLines(text);
  return LayOutTextBox(MeasureWatermarkLines(lines.lines, font), lines.hasMarker, settings.watermark.fontLeading,
                       settings.watermark.textPadding);
}

TEST(DrawWatermark, DefaultTextBoxEndsTenPixelsFromTheRightAndBottom) {
  const Settings settings = TextSettings();
  const UniqueBitmap marked = Watermarked(200, 100, settings, {"Lumivane", &Arial()});
  ASSERT_TRUE(marked);
  EXPECT_EQ(FreeImage_GetBPP(marked.get()), 24u);
  const TextBox box = BoxOf("Lumivane", settings);
  const ChangedArea changed = FindChangedArea(marked.get(), kPicture);
  EXPECT_EQ(changed.right, 190);
  EXPECT_EQ(changed.bottom, 90);
  EXPECT_EQ(changed.Width(), box.width);
  EXPECT_EQ(changed.Height(), box.height);
  EXPECT_LE(Distance(*PixelOf(marked.get(), changed.left, changed.top), kBoxBlue), kPasteLoss);
}

TEST(DrawWatermark, DefaultBoxIsAlmostTransparentSoOnlyTheTextShows) {
  Settings settings = DefaultSettings();
  settings.watermark.doWatermark = WatermarkKind::kText;
  const UniqueBitmap marked = Watermarked(200, 100, settings, {"Lumivane", &Arial()});
  ASSERT_TRUE(marked);
  const TextBox box = BoxOf("Lumivane", settings);
  const ChangedArea changed = FindChangedArea(marked.get(), kPicture, 1);
  ASSERT_GT(changed.count, 20);
  EXPECT_LT(changed.count, box.width * box.height / 2);  // box pixels stay as they were
  EXPECT_GE(changed.left, 190 - box.width);
  EXPECT_LE(changed.right, 190);
  EXPECT_GE(changed.top, 90 - box.height);
  EXPECT_LE(changed.bottom, 90);
  EXPECT_EQ(*PixelOf(marked.get(), 190 - box.width, 90 - box.height), kPicture);
}

TEST(DrawWatermark, MarkersInAnyCaseMakeLinesOfTheBox) {
  Settings settings = TextSettings();
  settings.watermark.textPosition = Position::kTopLeft;
  settings.watermark.textPadding = 3;
  settings.watermark.fontLeading = 4;
  const struct {
    const char* text;
    int lines;
  } cases[] = {{"Two%EOL%words", 2}, {"Two%eol%%EoL%words", 3}, {"i%eol%i", 2}, {"Single line", 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const TextBox box = BoxOf(c.text, settings);
    ASSERT_EQ(box.height, box.lineHeight + (c.lines - 1) * box.lineStep + 6);
    const UniqueBitmap marked = Watermarked(300, 150, settings, {c.text, &Arial()});
    const ChangedArea changed = FindChangedArea(marked.get(), kPicture);
    EXPECT_EQ(changed.left, 10);
    EXPECT_EQ(changed.top, 10);
    EXPECT_EQ(changed.Width(), box.width);
    EXPECT_EQ(changed.Height(), box.height);
  }
  // Lines narrower than 10 pixels still make a box 10 wide inside its padding.
  EXPECT_EQ(BoxOf("i%eol%i", settings).width, 10 + 6);
  EXPECT_LT(BoxOf("i", settings).width, 10 + 6);
}

// Columns of the picture in which the second line's text shows.
std::pair<int, int> SecondLineColumns(FIBITMAP* picture, const ChangedArea& box, const TextBox& layout,
                                      int padding) {
  int left = INT_MAX, right = -1;
  const int top = box.top + padding + static_cast<int>(layout.lineStep);
  for (int y = top; y < top + layout.lineHeight; ++y) {
    for (int x = box.left; x < box.right; ++x) {
      if (PixelOf(picture, x, y)->r > 128) {
        left = std::min(left, x);
        right = std::max(right, x + 1);
      }
    }
  }
  return {left, right};
}

TEST(DrawWatermark, LinesAreAlignedInTheBox) {
  const std::string text = "A much wider first line%eol%IIII";
  for (const TextAlignment alignment : {TextAlignment::kLeft, TextAlignment::kCenter, TextAlignment::kRight}) {
    for (const int antialiasing : {0, 1}) {
      SCOPED_TRACE(::testing::Message() << CodeOf(alignment) << " antialiasing " << antialiasing);
      Settings settings = TextSettings();
      settings.watermark.textPosition = Position::kTopLeft;
      settings.watermark.textPadding = 8;
      settings.watermark.textAlignment = alignment;
      settings.watermark.textAntialiasing = static_cast<std::int8_t>(antialiasing);
      const UniqueBitmap marked = Watermarked(400, 100, settings, {text, &Arial()});
      const ChangedArea box = FindChangedArea(marked.get(), kPicture);
      const auto [left, right] = SecondLineColumns(marked.get(), box, BoxOf(text, settings), 8);
      ASSERT_LT(left, right);
      const int leftGap = left - box.left;
      const int rightGap = box.right - right;
      if (alignment == TextAlignment::kLeft) EXPECT_NEAR(leftGap, 8, 2);
      if (alignment == TextAlignment::kRight) EXPECT_NEAR(rightGap, 8, 2);
      if (alignment == TextAlignment::kCenter) EXPECT_NEAR(leftGap, rightGap, 3);
    }
  }
}

TEST(DrawWatermark, MiddleCenterIgnoresTheOffsetsForPlacementButClipsByThem) {
  TempDir folder;
  const std::string path = WriteSolidPng(folder, "mark.png", 40, 20, kRed);
  Settings settings = PictureSettings(path);
  settings.watermark.imagePosition = Position::kMiddleCenter;
  for (const auto& offsets : {std::pair{0, 0}, std::pair{10, 10}, std::pair{37, -3}, std::pair{-50, 60}}) {
    settings.watermark.imageXOffset = offsets.first;
    settings.watermark.imageYOffset = offsets.second;
    const UniqueBitmap marked = Watermarked(200, 100, settings);
    const ChangedArea changed = FindChangedArea(marked.get(), kPicture);
    EXPECT_EQ(changed.left, 80) << offsets.first;
    EXPECT_EQ(changed.top, 40) << offsets.first;
    EXPECT_EQ(changed.Width(), 40);
    EXPECT_EQ(changed.Height(), 20);
  }
  settings.watermark.imageXOffset = 180;  // 40 + 180 > 200: cut to 20 wide, then centred
  settings.watermark.imageYOffset = 0;
  const UniqueBitmap clipped = Watermarked(200, 100, settings);
  const ChangedArea changed = FindChangedArea(clipped.get(), kPicture);
  EXPECT_EQ(changed.left, 90);
  EXPECT_EQ(changed.Width(), 20);
  EXPECT_EQ(changed.Height(), 20);
}

TEST(DrawWatermark, AllNinePositionsOnThePicture) {
  TempDir folder;
  Settings settings = PictureSettings(WriteSolidPng(folder, "mark.png", 40, 20, kRed));
  settings.watermark.imageXOffset = 10;
  settings.watermark.imageYOffset = 5;
  const std::pair<int, int> expected[] = {{10, 5},  {80, 5},  {150, 5},  {10, 40}, {80, 40},
                                          {150, 40}, {10, 75}, {80, 75}, {150, 75}};
  // In list order: top row, middle row, bottom row, each from left to right.
  const Position positions[] = {Position::kTopLeft,    Position::kTopCenter,    Position::kTopRight,
                                Position::kMiddleLeft, Position::kMiddleCenter, Position::kMiddleRight,
                                Position::kBottomLeft, Position::kBottomCenter, Position::kBottomRight};
  for (std::size_t i = 0; i < std::size(positions); ++i) {
    settings.watermark.imagePosition = positions[i];
    const UniqueBitmap marked = Watermarked(200, 100, settings);
    const ChangedArea changed = FindChangedArea(marked.get(), kPicture);
    EXPECT_EQ(std::pair(changed.left, changed.top), expected[i]) << CodeOf(positions[i]);
    EXPECT_EQ(changed.count, 40 * 20) << CodeOf(positions[i]);
  }
}

TEST(DrawWatermark, FrameBoundaryPlacesInsideTheFrame) {
  TempDir folder;
  Settings settings = PictureSettings(WriteSolidPng(folder, "mark.png", 16, 12, kRed));
  settings.frame.solidLeft = settings.frame.solidRight = settings.frame.solidTop = settings.frame.solidBottom = 20;
  settings.frame.solidLeftColor = settings.frame.solidRightColor = "FFFFFF";
  settings.frame.solidTopColor = settings.frame.solidBottomColor = "FFFFFF";
  settings.watermark.imagePosition = Position::kTopLeft;
  settings.watermark.imageBoundary = Boundary::kFrame;
  const struct {
    FrameKind doFrame;
    int expected;
  } cases[] = {{FrameKind::kSolid, 30}, {FrameKind::kNone, 10}};
  for (const auto& c : cases) {
    settings.frame.doFrame = c.doFrame;
    UniqueBitmap image = MakeSolidPicture(200, 100, kPicture);
    FIBITMAP* framed = DrawSolidFrame(image.release(), 200, 100, settings);
    const UniqueBitmap marked(DrawWatermark(framed, 200, 100, settings, {}));
    ASSERT_TRUE(marked);
    int left = INT_MAX, top = INT_MAX;
    for (int y = 0; y < 100; ++y) {
      for (int x = 0; x < 200; ++x) {
        if (Distance(*PixelOf(marked.get(), x, y), kRed) <= kPasteLoss) left = std::min(left, x), top = std::min(top, y);
      }
    }
    EXPECT_EQ(left, c.expected) << CodeOf(c.doFrame);
    EXPECT_EQ(top, c.expected) << CodeOf(c.doFrame);
  }
}

TEST(DrawWatermark, GreyscalePictureIsGrey) {
  TempDir folder;
  Settings settings = PictureSettings(WriteSolidPng(folder, "mark.png", 20, 10, {255, 128, 0}));
  settings.watermark.imagePosition = Position::kTopLeft;
  for (const int greyscale : {0, 1}) {
    settings.watermark.imageGreyscale = static_cast<std::int8_t>(greyscale);
    const UniqueBitmap marked = Watermarked(100, 50, settings, {}, {0, 0, 0});
    const Rgb pixel = *PixelOf(marked.get(), 15, 15);
    // (77 * 255 + 150 * 128 + 29 * 0) >> 8 = 151
    const Rgb expected = greyscale != 0 ? Rgb{151, 151, 151} : Rgb{255, 128, 0};
    EXPECT_LE(Distance(pixel, expected), kPasteLoss) << greyscale;
  }
}

TEST(DrawWatermark, PictureOpacityAndItsOwnAlpha) {
  TempDir folder;
  const struct {
    const char* what;
    std::optional<int> fileAlpha;
    int opacity;
    Rgb expected;  // red over black
  } cases[] = {
      {"opaque", std::nullopt, 255, {255, 0, 0}},
      {"half opacity", std::nullopt, 128, {128, 0, 0}},
      {"no opacity", std::nullopt, 0, {0, 0, 0}},
      {"half transparent file", 128, 255, {128, 0, 0}},
      {"transparent file", 0, 255, {0, 0, 0}},
  };
  for (const auto& c : cases) {
    Settings settings = PictureSettings(WriteSolidPng(folder, "mark.png", 20, 10, kRed, c.fileAlpha));
    settings.watermark.imagePosition = Position::kTopLeft;
    settings.watermark.imageOpacity = c.opacity;
    const UniqueBitmap marked = Watermarked(100, 50, settings, {}, {0, 0, 0});
    EXPECT_LE(Distance(*PixelOf(marked.get(), 15, 15), c.expected), kPasteLoss) << c.what;
  }
}

TEST(DrawWatermark, RotationTurnsTheBox) {
  Settings settings = TextSettings();
  settings.watermark.textPosition = Position::kTopLeft;
  const TextBox box = BoxOf("Turned text", settings);
  const struct {
    int degrees;
    bool turned;
  } cases[] = {{0, false}, {360, false}, {-90, false}, {90, true}, {270, true}};
  for (const auto& c : cases) {
    settings.watermark.textRotation = c.degrees;
    const UniqueBitmap marked = Watermarked(200, 200, settings, {"Turned text", &Arial()});
    const ChangedArea changed = FindChangedArea(marked.get(), kPicture);
    EXPECT_EQ(changed.left, 10) << c.degrees;
    EXPECT_EQ(changed.Width(), c.turned ? box.height : box.width) << c.degrees;
    EXPECT_EQ(changed.Height(), c.turned ? box.width : box.height) << c.degrees;
  }
}

TEST(DrawWatermark, RotationAddsTransparentCorners) {
  TempDir folder;
  Settings settings = PictureSettings(WriteSolidPng(folder, "mark.png", 20, 20, kRed));
  settings.watermark.imagePosition = Position::kTopLeft;
  settings.watermark.imageXOffset = settings.watermark.imageYOffset = 0;
  settings.watermark.imageRotation = 45;
  const UniqueBitmap marked = Watermarked(100, 100, settings);
  const ChangedArea changed = FindChangedArea(marked.get(), kPicture);
  EXPECT_NEAR(changed.Width(), 28, 2);  // the diagonal of 20 x 20
  EXPECT_NEAR(changed.Height(), 28, 2);
  EXPECT_EQ(*PixelOf(marked.get(), changed.left, changed.top), kPicture);
  EXPECT_EQ(*PixelOf(marked.get(), changed.right - 1, changed.bottom - 1), kPicture);
  const int centreX = (changed.left + changed.right) / 2, centreY = (changed.top + changed.bottom) / 2;
  EXPECT_LE(Distance(*PixelOf(marked.get(), centreX, centreY), kRed), kPasteLoss);
}

// The colours inside the box of a big "I" with the text at half opacity over an opaque blue box, on a green
// picture.
std::set<std::tuple<int, int, int>> BoxColours(int antialiasing, Rgb* glyphInterior) {
  Settings settings = TextSettings();
  settings.watermark.textPosition = Position::kTopLeft;
  settings.watermark.textOpacity = 128;
  settings.watermark.textAntialiasing = static_cast<std::int8_t>(antialiasing);
  const DrawingFont& font = Arial(60);
  const UniqueBitmap marked = Watermarked(200, 150, settings, {"I", &font}, {0, 255, 0});
  const ChangedArea box = FindChangedArea(marked.get(), {0, 255, 0});
  std::set<std::tuple<int, int, int>> colours;
  int brightest = -1;
  for (int y = box.top; y < box.bottom; ++y) {
    for (int x = box.left; x < box.right; ++x) {
      const Rgb pixel = *PixelOf(marked.get(), x, y);
      colours.insert({pixel.r, pixel.g, pixel.b});
      if (pixel.r > brightest) brightest = pixel.r, *glyphInterior = pixel;
    }
  }
  return colours;
}

TEST(DrawWatermark, RasterTextReplacesTheBoxUnderItVectorTextIsDrawnOverIt) {
  Rgb raster, vector;
  const auto rasterColours = BoxColours(0, &raster);
  const auto vectorColours = BoxColours(1, &vector);
  // Raster route: glyph pixels carry the text colour at its opacity straight onto the picture, so the green
  // picture shows through them; no antialiasing: only box and glyph colours.
  EXPECT_LE(Distance(raster, {128, 255, 128}), kPasteLoss);
  EXPECT_EQ(rasterColours.size(), 2u);
  // Vector route: the half-opaque text lies over the opaque box.
  EXPECT_LE(Distance(vector, {128, 128, 255}), kPasteLoss);
  EXPECT_GT(vectorColours.size(), 2u);
}

TEST(DrawWatermark, BoxOpacityAppliesToBothRoutes) {
  for (const int antialiasing : {0, 1}) {
    Settings settings = TextSettings();
    settings.watermark.textPosition = Position::kTopLeft;
    settings.watermark.backOpacity = 128;
    settings.watermark.textPadding = 5;
    settings.watermark.textAntialiasing = static_cast<std::int8_t>(antialiasing);
    const UniqueBitmap marked = Watermarked(200, 100, settings, {"Box", &Arial()}, {0, 0, 0});
    EXPECT_LE(Distance(*PixelOf(marked.get(), 10, 10), {0, 0, 128}), kPasteLoss) << antialiasing;
  }
}

TEST(DrawWatermark, FontEffectsReachThePicture) {
  for (const int antialiasing : {0, 1}) {
    Settings settings = TextSettings();
    settings.watermark.textPosition = Position::kTopLeft;
    settings.watermark.textAntialiasing = static_cast<std::int8_t>(antialiasing);
    const DrawingFont& underlined = Arial(20, {.underline = true});
    const UniqueBitmap marked = Watermarked(300, 100, settings, {"a b c d e", &underlined});
    const ChangedArea box = FindChangedArea(marked.get(), kPicture);
    int longestRun = 0;
    for (int y = box.top; y < box.bottom; ++y) {
      int run = 0;
      for (int x = box.left; x < box.right; ++x) {
        run = PixelOf(marked.get(), x, y)->r > 128 ? run + 1 : 0;
        longestRun = std::max(longestRun, run);
      }
    }
    EXPECT_GT(longestRun, box.Width() * 3 / 4) << antialiasing;  // the underline spans the spaces
  }
}

TEST(DrawWatermark, NothingToDrawStillGivesTwentyFourBits) {
  TempDir folder;
  const struct {
    const char* what;
    Settings settings;
    WatermarkInputs inputs;
  } cases[] = {
      {"no font", TextSettings(), {"text", nullptr}},
      {"font size 5000 makes no font", TextSettings(), {"text", &Arial(5000)}},
      {"empty text", TextSettings(), {"", &Arial()}},
      {"unreadable picture", PictureSettings(folder / "missing.png"), {}},
      {"picture that is no picture", PictureSettings(folder.WriteFile("bad.png", "not a picture")), {}},
      {"unknown kind", [] {
         Settings s = TextSettings();
         s.watermark.doWatermark = static_cast<WatermarkKind>(3);  // no keyword names it
         return s;
       }(),
       {"text", &Arial()}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    FIBITMAP* palette = FreeImage_Allocate(40, 30, 8);
    const UniqueBitmap result(DrawWatermark(palette, 40, 30, c.settings, c.inputs));
    ASSERT_TRUE(result);
    EXPECT_EQ(FreeImage_GetBPP(result.get()), 24u);
    EXPECT_EQ(FindChangedArea(result.get(), {0, 0, 0}, 0).count, 0);
  }
  Settings off = TextSettings();
  off.watermark.doWatermark = WatermarkKind::kNone;
  FIBITMAP* palette = FreeImage_Allocate(40, 30, 8);
  EXPECT_EQ(DrawWatermark(palette, 40, 30, off, {"text", &Arial()}), palette);
  FreeImage_Unload(palette);
  EXPECT_EQ(DrawWatermark(nullptr, 40, 30, TextSettings(), {"text", &Arial()}), nullptr);
}

TEST(DrawWatermark, AWatermarkThatDoesNotFitIsLeftOut) {
  const struct {
    const char* what;
    Position position;
    std::int32_t x, y;
  } cases[] = {
      {"negative offset", Position::kTopLeft, -5, 0},
      {"negative offset from the right", Position::kBottomRight, -5, 10},
      {"offsets beyond the picture", Position::kTopLeft, 500, 500},
      {"largest offsets", Position::kBottomRight, INT_MAX, INT_MAX},
      {"smallest offsets", Position::kBottomRight, INT_MIN, INT_MIN},
      {"smallest offsets, top left", Position::kTopLeft, INT_MIN, INT_MIN},
      {"centred, huge offsets clip it away", Position::kMiddleCenter, INT_MAX, INT_MAX},
  };
  for (const auto& c : cases) {
    Settings settings = TextSettings();
    settings.watermark.textPosition = c.position;
    settings.watermark.textXOffset = c.x;
    settings.watermark.textYOffset = c.y;
    const UniqueBitmap marked = Watermarked(200, 100, settings, {"Does not fit", &Arial()});
    ASSERT_TRUE(marked) << c.what;
    EXPECT_EQ(FindChangedArea(marked.get(), kPicture, 0).count, 0) << c.what;
  }
}

TEST(DrawWatermark, UntrustedSizesStayInsideThePicture) {
  const struct {
    const char* what;
    int width, height;
    std::int32_t padding, leading, rotation;
    int points;
    const char* text;
    bool shows;
  } cases[] = {
      {"huge font, clipped to the picture", 120, 80, 0, 0, 0, 2000, "W", true},
      {"one-pixel picture", 1, 1, 0, 0, 0, 14, "Text", true},
      {"one-pixel picture, turned: its corner is transparent", 1, 1, 0, 0, 33, 14, "Text", false},
      {"huge padding", 120, 80, INT_MAX, 0, 0, 14, "Text", false},
      {"negative padding", 120, 80, INT_MIN, 0, 0, 14, "Text", false},
      {"padding larger than the box", 120, 80, -40, 0, 0, 14, "Text", false},
      {"huge leading", 120, 80, 0, INT_MAX, 0, 14, "a%eol%b", false},
      {"negative leading", 120, 80, 0, INT_MIN, 0, 14, "a%eol%b", false},
      {"leading that overlaps the lines", 120, 80, 0, -12, 0, 14, "a%eol%b%eol%c", true},
      {"huge rotation", 120, 80, 0, 0, INT_MAX, 14, "Text", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Settings settings = TextSettings();
    settings.watermark.textPosition = Position::kTopLeft;
    settings.watermark.textXOffset = settings.watermark.textYOffset = 0;
    settings.watermark.textPadding = c.padding;
    settings.watermark.fontLeading = c.leading;
    settings.watermark.textRotation = c.rotation;
    const UniqueBitmap marked = Watermarked(c.width, c.height, settings, {c.text, &Arial(c.points)});
    ASSERT_TRUE(marked);
    EXPECT_EQ(FreeImage_GetWidth(marked.get()), static_cast<unsigned>(c.width));
    EXPECT_EQ(FindChangedArea(marked.get(), kPicture).count > 0, c.shows);
  }
}

TEST(DrawWatermark, AWorkingSizeOtherThanThePicturesLeavesItUnmarked) {
  for (const auto& size : {std::pair{0, 0}, std::pair{-5, 20}, std::pair{300, 20}, std::pair{INT_MAX, INT_MAX}}) {
    UniqueBitmap image = MakeSolidPicture(200, 100, kPicture);
    Settings settings = TextSettings();
    settings.watermark.textPosition = Position::kTopLeft;
    const UniqueBitmap result(
        DrawWatermark(image.release(), size.first, size.second, settings, {"Text", &Arial()}));
    ASSERT_TRUE(result);
    EXPECT_EQ(FindChangedArea(result.get(), kPicture, 0).count, 0) << size.first;
  }
}

}  // namespace
}  // namespace lumivane::testing
