#pragma once
// Vector drawing on one image: layers with an opacity, a source colour, rectangles and segment paths that are
// filled, filling the whole image, and antialiased text along the path cursor. Shapes are antialiased.
#include <cairo.h>

#include <optional>
#include <string_view>
#include <vector>

#include "platform/drawing_colour.h"
#include "platform/drawing_font.h"
#include "platform/drawing_image.h"

namespace lumivane {

// One vector drawing session on one image, from construction (start) to Stop or destruction, which also ends
// layers still open. The image must outlive the session.
class VectorDrawing {
 public:
  explicit VectorDrawing(DrawingImage& image);
  ~VectorDrawing();
  VectorDrawing(const VectorDrawing&) = delete;
  VectorDrawing& operator=(const VectorDrawing&) = delete;

  // False when the image is empty; every operation then does nothing and reports failure.
  bool IsOpen() const { return context_ != nullptr; }
  void Stop();

  // What is drawn until the matching EndLayer is put onto the image with the layer's alpha (0..255) at once.
  bool BeginLayer(int alpha);
  bool EndLayer();  // false when no layer is open

  // Straight RGBA; the colour's alpha applies to what is filled or written with it.
  void SetSourceColour(Rgba colour);
  // Adds a rectangle to the current path; false for coordinates out of range (nothing added).
  bool AddPathBox(double left, double top, double width, double height);
  // Adds the segments of the text (drawing_path_segments.h) to the current path; false and nothing added
  // when the text is malformed.
  bool AddPathSegments(std::string_view segments);
  // Fills the current path (non-zero winding) with the source colour and clears the path.
  bool FillPath();
  // Fills the whole image (or layer) with the source colour, blended over what is there.
  bool FillOutput();

  void SetFont(const DrawingFont& font);
  // Advance of the text in the current font, in pixels; none without a font.
  std::optional<double> TextWidth(std::string_view text) const;
  // Starts a new figure of the current path at (x, y): the cursor. False for coordinates out of range.
  bool MovePathCursor(double x, double y);
  // Antialiased text whose top-left corner is at the cursor (the origin when there is none); the cursor then
  // moves along by the text's advance.
  bool DrawText(std::string_view text);

 private:
  cairo_t* context_ = nullptr;
  DrawingFont font_;
  Rgba colour_ = 0xFF000000u;
  std::vector<int> layerAlphas_;
};

}  // namespace lumivane
