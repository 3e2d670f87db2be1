// The solid frame: eight shapes drawn into a transparent image and blended at the frame's opacity over the outer
// band of the picture.
#include "pipeline/colour_alpha.h"
#include "pipeline/edit_steps.h"
#include "pipeline/frame_paths.h"
#include "pipeline/overlay_bitmap.h"
#include "pipeline/replace_image.h"
#include "platform/drawing_vector.h"

namespace lumivane {
namespace {

Rgba SideColour(const Settings::Frame& frame, FrameSide side) {
  switch (side) {
    case FrameSide::kTop: return ParseColourAlpha(frame.solidTopColor, 255);
    case FrameSide::kRight: return ParseColourAlpha(frame.solidRightColor, 255);
    case FrameSide::kBottom: return ParseColourAlpha(frame.solidBottomColor, 255);
    case FrameSide::kLeft: return ParseColourAlpha(frame.solidLeftColor, 255);
  }
  return ParseColourAlpha("", 255);
}

// One opaque layer, so that the antialiased diagonals of two sides meet without the picture showing through.
// A shape the path reader refuses is left out; the others are still drawn.
void DrawFrameShapes(DrawingImage& image, const Settings::Frame& frame, std::int64_t width, std::int64_t height) {
  VectorDrawing drawing(image);
  if (!drawing.IsOpen() || !drawing.BeginLayer(255)) return;
  const FrameSides sides = SolidFrameSides(frame, width, height);
  for (const FrameShape& shape : SolidFrameShapes(sides, width, height)) {
    drawing.SetSourceColour(SideColour(frame, shape.side));
    const bool added = shape.path.empty()
                           ? drawing.AddPathBox(static_cast<double>(shape.box[0]), static_cast<double>(shape.box[1]),
                                                static_cast<double>(shape.box[2]), static_cast<double>(shape.box[3]))
                           : drawing.AddPathSegments(shape.path);
    if (added) drawing.FillPath();
  }
  drawing.EndLayer();
}

// The frame as a 32-bit bitmap, or nullptr when an image cannot be made.
FIBITMAP* RenderFrame(const Settings::Frame& frame, int width, int height) {
  DrawingImage shapes = CreateDrawingImage(width, height);
  if (!shapes.IsImage()) return nullptr;
  DrawFrameShapes(shapes, frame, width, height);
  return DrawingToBitmap(shapes);
}

}  // namespace

FIBITMAP* DrawSolidFrame(FIBITMAP* image, int width, int height, const Settings& settings) {
  if (image == nullptr || settings.frame.doFrame == FrameKind::kNone) return image;
  FIBITMAP* picture = ConvertTo24BitsOutside(image, 24, 24);
  if (picture == nullptr || settings.frame.doFrame != FrameKind::kSolid) return picture;

  FIBITMAP* frame = RenderFrame(settings.frame, width, height);
  if (frame == nullptr) return picture;
  // The frame is drawn on the working size; a picture of another size stays unframed.
  if (FreeImage_GetWidth(picture) == static_cast<unsigned>(width) &&
      FreeImage_GetHeight(picture) == static_cast<unsigned>(height)) {
    BlendOntoPicture(picture, frame, {0, 0, width, height}, settings.frame.solidOpacity);
  }
  FreeImage_Unload(frame);
  return picture;
}

}  // namespace lumivane
