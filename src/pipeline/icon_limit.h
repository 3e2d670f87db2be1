#pragma once
// Formats that hold pictures of a limited size (icons).
#include <FreeImage.h>

#include "formats/registry.h"

namespace lumivane {

// When the format has a largest side and the image is wider or taller than it, rescales the image to exactly that
// square (bicubic, aspect ratio not kept). Takes ownership of image: returns it unchanged when nothing applies,
// otherwise unloads it and returns the rescaled bitmap (nullptr when rescaling fails).
FIBITMAP* LimitToLargestSide(FIBITMAP* image, const OutputFormat& format);

}  // namespace lumivane
