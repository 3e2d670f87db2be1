// The picture watermark: the picture file drawn as it is, optionally through the grey filter. Its opacity applies
// when it is blended onto the picture, so that the colours are rounded once.
#include "pipeline/watermark_render.h"
#include "platform/drawing_2d.h"

namespace lumivane {

Rgba GreyOf(Rgba colour) {
  const auto grey = static_cast<std::uint8_t>((77 * RedOf(colour) + 150 * GreenOf(colour) + 29 * BlueOf(colour)) >> 8);
  return MakeRgba(grey, grey, grey, AlphaOf(colour));
}

DrawingImage RenderPictureWatermark(const Settings::Watermark& watermark) {
  const DrawingImage picture = LoadDrawingImage(watermark.image);
  if (!picture.IsImage()) return {};
  // A picture with its own alpha starts from transparency; the others from opaque black.
  DrawingImage rendered = picture.BitsPerPixel() == 32
                              ? CreateDrawingImage(picture.Width(), picture.Height())
                              : CreateFilledDrawingImage(picture.Width(), picture.Height(), MakeRgba(0, 0, 0));
  Drawing2D drawing(rendered);
  const bool modeSet = watermark.imageGreyscale != 0 ? drawing.SetMode(DrawingMode::kFilter, GreyOf)
                                                     : drawing.SetMode(DrawingMode::kAllChannels);
  if (!modeSet || !drawing.DrawImage(picture, 0, 0, 255)) return {};
  drawing.Stop();
  return rendered;
}

}  // namespace lumivane
