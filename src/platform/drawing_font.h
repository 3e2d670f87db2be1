#pragma once
// Fonts of the drawing layer: a face, a size in points (at 96 dots per inch) and a style, checked against the
// fonts fontconfig knows.
#include <string>

typedef struct _PangoFontDescription PangoFontDescription;

namespace lumivane {

struct TextStyle {
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeout = false;
};

// Sizes outside 1..kMaxFontPoints points make no font.
inline constexpr double kMinFontPoints = 1;
inline constexpr double kMaxFontPoints = 2000;

// Owns one font description; empty when the font does not exist. Copies are independent.
class DrawingFont {
 public:
  DrawingFont() = default;
  DrawingFont(PangoFontDescription* description, TextStyle style);  // takes ownership
  ~DrawingFont();
  DrawingFont(const DrawingFont& other);
  DrawingFont& operator=(const DrawingFont& other);
  DrawingFont(DrawingFont&& other) noexcept;
  DrawingFont& operator=(DrawingFont&& other) noexcept;

  bool IsFont() const { return description_ != nullptr; }
  const PangoFontDescription* Description() const { return description_; }
  const TextStyle& Style() const { return style_; }

 private:
  PangoFontDescription* description_ = nullptr;
  TextStyle style_;
};

// True when fontconfig has the face itself or a metric-compatible stand-in for it ("Arial" is served by
// Liberation Sans); a face that would only be replaced by the generic fallback font does not exist.
bool FontFaceExists(const std::string& face);

// The font, or an empty one when the face does not exist or the size is out of range. Pixel size is
// points * 96 / 72.
DrawingFont LoadFont(const std::string& face, double sizePoints, TextStyle style);

}  // namespace lumivane
