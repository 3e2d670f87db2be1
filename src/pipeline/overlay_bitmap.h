#pragma once
// What frames and watermarks share: a drawing handed to FreeImage as PNG data, and the alpha composite of an
// overlay onto the picture.
#include <FreeImage.h>

#include "platform/drawing_image.h"

namespace lumivane {

// The drawing encoded as PNG in memory and decoded by FreeImage's PNG reader: a 32-bit bitmap with the
// drawing's colours and alpha, or nullptr when either step fails.
FIBITMAP* DrawingToBitmap(const DrawingImage& drawing);

// The 32-bit overlay alpha-composited onto the 24-bit picture. On success the result replaces the picture, which
// is unloaded; when the composite fails (sizes differ) the picture is returned as it was. The overlay stays the
// caller's.
FIBITMAP* CompositeOntoPicture(FIBITMAP* overlay, FIBITMAP* picture);

}  // namespace lumivane
