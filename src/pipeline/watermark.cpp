// The watermark step: a text box or a picture rendered by the drawing layer, turned, clipped, placed and
// composited onto the picture.
#include "pipeline/edit_steps.h"
#include "pipeline/overlay_bitmap.h"
#include "pipeline/replace_image.h"
#include "pipeline/watermark_placement.h"
#include "pipeline/watermark_render.h"

namespace lumivane {
namespace {

// What differs between the two kinds of watermark.
struct Placement {
  Boundary boundary = Boundary::kImage;
  Position position = Position::kTopLeft;
  WatermarkOffsets offsets;
  std::int32_t rotation = 0;
};

Placement PlacementOf(const Settings::Watermark& watermark) {
  if (watermark.doWatermark == WatermarkKind::kText) {
    return {watermark.textBoundary,
            watermark.textPosition,
            {watermark.textXOffset, watermark.textYOffset},
            watermark.textRotation};
  }
  return {watermark.imageBoundary,
          watermark.imagePosition,
          {watermark.imageXOffset, watermark.imageYOffset},
          watermark.imageRotation};
}

FIBITMAP* RenderWatermark(const Settings::Watermark& watermark, const WatermarkInputs& inputs) {
  switch (watermark.doWatermark) {
    case WatermarkKind::kText: return DrawingToBitmap(RenderTextWatermark(watermark, inputs));
    case WatermarkKind::kImage: return DrawingToBitmap(RenderPictureWatermark(watermark));
    default: return nullptr;
  }
}

// Turns the watermark by 1..359 degrees; the bitmap grows to hold it and the new corners are transparent.
FIBITMAP* RotateWatermark(FIBITMAP* mark, std::int32_t degrees) {
  if (degrees < 1 || degrees > 359) return mark;
  return ReplaceImage(mark, FreeImage_Rotate(mark, degrees, nullptr));
}

// The watermark on a transparent canvas of the picture's size, or nullptr when it does not fit there.
FIBITMAP* PlaceOnCanvas(FIBITMAP* mark, const Placement& kind, int width, int height, const Settings& settings) {
  const WatermarkArea area = WatermarkBoundaryArea(width, height, kind.boundary, settings.frame);
  const WatermarkSize natural{FreeImage_GetWidth(mark), FreeImage_GetHeight(mark)};
  const WatermarkSize clipped = ClipWatermark(natural, kind.offsets, area);
  const WatermarkArea placed = PlaceWatermark(kind.position, clipped, kind.offsets, area);
  if (!FitsInPicture(placed, width, height)) return nullptr;

  FIBITMAP* part = mark;
  if (clipped != natural) {
    part = FreeImage_Copy(mark, 0, 0, static_cast<int>(clipped.width), static_cast<int>(clipped.height));
    if (part == nullptr) return nullptr;
  }
  FIBITMAP* canvas = FreeImage_AllocateT(FIT_BITMAP, width, height, static_cast<int>(FreeImage_GetBPP(part)));
  const bool pasted =
      canvas != nullptr && FreeImage_Paste(canvas, part, static_cast<int>(placed.x), static_cast<int>(placed.y), 255);
  if (part != mark) FreeImage_Unload(part);
  if (!pasted) {
    FreeImage_Unload(canvas);
    return nullptr;
  }
  return canvas;
}

}  // namespace

FIBITMAP* DrawWatermark(FIBITMAP* image, int width, int height, const Settings& settings,
                        const WatermarkInputs& inputs) {
  if (image == nullptr || settings.watermark.doWatermark == WatermarkKind::kNone) return image;
  FIBITMAP* picture = ConvertTo24BitsOutside(image, 24, 24);
  if (picture == nullptr) return nullptr;

  FIBITMAP* mark = RenderWatermark(settings.watermark, inputs);
  if (mark == nullptr) return picture;
  const Placement kind = PlacementOf(settings.watermark);
  mark = RotateWatermark(mark, kind.rotation);
  if (mark == nullptr) return picture;
  FIBITMAP* canvas = PlaceOnCanvas(mark, kind, width, height, settings);
  FreeImage_Unload(mark);
  if (canvas == nullptr) return picture;
  picture = CompositeOntoPicture(canvas, picture);
  FreeImage_Unload(canvas);
  return picture;
}

}  // namespace lumivane
