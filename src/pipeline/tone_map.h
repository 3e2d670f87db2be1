#pragma once
// Tone mapping of 48-bit camera data down to 24-bit RGB.
#include <FreeImage.h>

#include <cstdint>

namespace lumivane {

// Codes of `Input/RAW Tone Mapping`.
inline constexpr std::int32_t kToneMappingNone = 0;      // stays 48-bit
inline constexpr std::int32_t kToneMappingLinear = 1;    // plain conversion to 24 bits
inline constexpr std::int32_t kToneMappingDrago = 2;     // adaptive logarithmic (Drago 2003)
inline constexpr std::int32_t kToneMappingReinhard = 3;  // dynamic range reduction (Reinhard 2005)
inline constexpr std::int32_t kToneMappingFattal = 4;    // gradient domain (Fattal 2002)

// Tone-maps the image when `Input/RAW Load As` (rawLoadAs) is one of the two 48-bit codes, by the operator that
// `Input/RAW Tone Mapping` (toneMapping) names. Takes ownership of image: returns it unchanged when nothing
// applies, otherwise unloads it and returns the result (nullptr when the operator fails).
FIBITMAP* ToneMapImage(FIBITMAP* image, std::int32_t rawLoadAs, std::int32_t toneMapping);

}  // namespace lumivane
