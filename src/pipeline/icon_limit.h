#pragma once
// Icons hold at most 128 x 128 pixels.
#include <FreeImage.h>

#include <string_view>

namespace lumivane {

inline constexpr unsigned kIconMaxSide = 128;

// When outputFormat is "ico" and the image is wider or taller than 128, rescales it to exactly 128 x 128 (bicubic,
// aspect ratio not kept). Takes ownership of image: returns it unchanged when nothing applies, otherwise unloads it
// and returns the rescaled bitmap (nullptr when rescaling fails).
FIBITMAP* LimitIconSize(FIBITMAP* image, std::string_view outputFormat);

}  // namespace lumivane
