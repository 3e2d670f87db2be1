#pragma once
// Conversion of the finished image to the bit depth it is written with.
#include <FreeImage.h>

#include "formats/registry.h"

namespace lumivane {

// When automaticBitDepth is set, outputBitDepth becomes the allowed depth of `format` nearest to sourceBitDepth
// (so every file gets the depth nearest to its own decoded depth). Then the image is converted to outputBitDepth:
// 96 RGB float, 48 RGB16, 32, 24, 16 and 8 (as the format's row says), 4, 1 (Floyd-Steinberg). Images deeper than
// 32 bits go to 24 bits first on the way to 16, 8, 4 or 1 bits, as FreeImage's reductions read only standard
// bitmaps.
//
// Takes ownership of image: returns it unchanged when it already has the depth, else a new bitmap after unloading
// the given one. Returns nullptr (having unloaded the image) for any other depth or when a conversion fails;
// nullptr for a nullptr image.
FIBITMAP* ConvertToOutputDepth(FIBITMAP* image, const OutputFormat& format, int& outputBitDepth, bool automaticBitDepth,
                               int sourceBitDepth);

}  // namespace lumivane
