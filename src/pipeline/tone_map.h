#pragma once
// Tone mapping of 48-bit camera data down to 24-bit RGB.
#include <FreeImage.h>

#include "settings/setting_codes.h"

namespace lumivane {

// Tone-maps the image when `Input/RAW Load As` (rawLoadAs) is one of the two 48-bit codes, by the operator that
// `Input/RAW Tone Mapping` (toneMapping) names. Takes ownership of image: returns it unchanged when nothing
// applies, otherwise unloads it and returns the result (nullptr when the operator fails).
FIBITMAP* ToneMapImage(FIBITMAP* image, RawLoadAs rawLoadAs, ToneMapping toneMapping);

}  // namespace lumivane
