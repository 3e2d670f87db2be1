#pragma once
// The choice of `Input/RAW Load As` FIT between the half-size and the full-size 24-bit decode of a file.
#include "pipeline/resize_plan.h"

namespace lumivane {

// Whether the half-size decode (of size half) gives exactly the output the full-size decode (of size full, both in
// the orientation the decoder returns them) would, once rotated and resized under the Transform settings: the two
// give one output size and the half-size picture is only ever scaled down to it. False without a resize of the
// full-size picture, with a size in percent (taken of the decoded size itself), with a rotation whose canvas does
// not follow from the size alone, and when the half-size decode is not smaller (a sensor without a colour filter
// array) or its size is unknown.
bool HalfSizeDecodeFits(ImageSize full, ImageSize half, const Settings::Transform& transform);

}  // namespace lumivane
