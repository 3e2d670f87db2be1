#pragma once
// Rendering a watermark into a 32-bit drawing image, before it is handed to FreeImage.
#include "pipeline/edit_steps.h"
#include "platform/drawing_colour.h"
#include "platform/drawing_image.h"

namespace lumivane {

// The text box with its lines, at the text and box opacities; empty without a font or when an image cannot be
// made (a box of zero or negative size, or one larger than a drawing image may be).
DrawingImage RenderTextWatermark(const Settings::Watermark& watermark, const WatermarkInputs& inputs);

// The watermark picture, loaded anew, in grey when asked; empty when the file cannot be loaded. The picture opacity
// is not applied here but in the blend (DrawWatermark).
DrawingImage RenderPictureWatermark(const Settings::Watermark& watermark);

// The grey of a colour, (77 red + 150 green + 29 blue) / 256, with the colour's own alpha.
Rgba GreyOf(Rgba colour);

}  // namespace lumivane
