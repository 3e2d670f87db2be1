// The watermark step: a text box or a picture rendered by the drawing layer, turned, clipped, placed and
// blended onto the picture.
#include <optional>

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
  std::int32_t opacity = 255;  // the text's opacities are drawn into its box; the picture's applies in the blend
};

Placement PlacementOf(const Settings::Watermark& watermark) {
  if (watermark.doWatermark == WatermarkKind::kText) {
    return {watermark.textBoundary,
            watermark.textPosition,
            {watermark.textXOffset, watermark.textYOffset},
            watermark.textRotation,
            255};
  }
  return {watermark.imageBoundary,
          watermark.imagePosition,
          {watermark.imageXOffset, watermark.imageYOffset},
          watermark.imageRotation,
          watermark.imageOpacity};
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

// Where the watermark goes on the picture, clipped by the offsets; none when it does not fit there.
std::optional<OverlayPlacement> PlaceOnPicture(FIBITMAP* mark, const Placement& kind, int width, int height,
                                               const Settings& settings) {
  const WatermarkArea area = WatermarkBoundaryArea(width, height, kind.boundary, settings.frame);
  const WatermarkSize natural{FreeImage_GetWidth(mark), FreeImage_GetHeight(mark)};
  const WatermarkSize clipped = ClipWatermark(natural, kind.offsets, area);
  const WatermarkArea placed = PlaceWatermark(kind.position, clipped, kind.offsets, area);
  if (!FitsInPicture(placed, width, height)) return std::nullopt;
  return OverlayPlacement{static_cast<int>(placed.x), static_cast<int>(placed.y), static_cast<int>(placed.width),
                          static_cast<int>(placed.height)};
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
  // The mark is placed on the working size; a picture of another size stays unmarked.
  const std::optional<OverlayPlacement> where = PlaceOnPicture(mark, kind, width, height, settings);
  if (where && FreeImage_GetWidth(picture) == static_cast<unsigned>(width) &&
      FreeImage_GetHeight(picture) == static_cast<unsigned>(height)) {
    BlendOntoPicture(picture, mark, *where, kind.opacity);
  }
  FreeImage_Unload(mark);
  return picture;
}

}  // namespace lumivane
