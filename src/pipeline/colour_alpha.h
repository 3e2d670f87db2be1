#pragma once
// Colours of frames and watermarks: an "RRGGBB" setting with an opacity, as one drawing-layer colour.
#include <string_view>

#include "platform/drawing_colour.h"

namespace lumivane {

// Red, green and blue by ParseColour (a text that is not six characters long gives black), the alpha as given;
// an alpha outside 0..255 is taken as the nearer end.
Rgba ParseColourAlpha(std::string_view text, int alpha);

}  // namespace lumivane
