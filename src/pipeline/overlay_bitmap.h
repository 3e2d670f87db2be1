#pragma once
// What frames and watermarks share: a drawing handed to FreeImage as PNG data, and the alpha blend of an overlay
// onto the picture.
#include <FreeImage.h>

#include "platform/drawing_image.h"

namespace lumivane {

// The drawing encoded as PNG in memory and decoded by FreeImage's PNG reader: a 32-bit bitmap with the
// drawing's colours and alpha, or nullptr when either step fails.
FIBITMAP* DrawingToBitmap(const DrawingImage& drawing);

// Where an overlay goes: the part of it from its top-left corner that is drawn, and where that part's top-left
// corner lands, counted from the picture's top-left corner.
struct OverlayPlacement {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// Blends that part of the 32-bit overlay (straight alpha) onto the 24-bit picture in place, each pixel at the
// overlay's alpha times opacity (0..255; clamped). The blend rounds once, to nearest: a = (alpha * opacity + 127) /
// 255, then (overlay * a + picture * (255 - a) + 127) / 255; at a = 255 the overlay's colour lands exactly, at
// a = 0 the picture stays. False, with the picture unchanged, when the part does not lie within both bitmaps or a
// bitmap has another depth. Both bitmaps stay the caller's.
bool BlendOntoPicture(FIBITMAP* picture, FIBITMAP* overlay, OverlayPlacement where, int opacity);

}  // namespace lumivane
