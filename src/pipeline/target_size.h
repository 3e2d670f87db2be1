#pragma once
// A target size of the resize settings, in pixels.
#include <cstdint>

#include "settings/setting_codes.h"

namespace lumivane {

// value in the unit of `Transform/Image Width Unit` or `Transform/Image Height Unit`: PIXELS gives value itself,
// PERCENT gives value percent of currentSize rounded to the nearest integer (halves away from zero), any other
// unit 0. A percentage beyond the 32-bit range gives INT32_MAX or INT32_MIN, which resizing refuses.
std::int32_t ComputeTargetSize(std::int32_t value, SizeUnit unit, std::int32_t currentSize);

}  // namespace lumivane
