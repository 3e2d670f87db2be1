#pragma once
// Reading JPEG XR files with jxrlib's decoder, independently of our encoder's code.
#include <string>

#include "pipeline/decoded_image.h"

namespace lumivane::testing {

// Not ok when the file does not decode (or the build has no jxrlib).
DecodedImage ReadJpegXr(const std::string& path);

}  // namespace lumivane::testing
