#pragma once
// Conversion of the finished image to the bit depth it is written with.
#include <string>

#include <FreeImage.h>

namespace lumivane {

// When automaticBitDepth is set, outputBitDepth becomes the allowed depth of `format` nearest to sourceBitDepth
// (so every file gets the depth nearest to its own decoded depth). Then the image is converted to outputBitDepth:
// 96 RGB float, 48 RGB16, 32, 24, 16 (5-5-5 for ico and tga, else 5-6-5), 8 (greys for j2k, jp2, jpg and jxr;
// a 256-colour Wu palette for the others), 4, 1 (Floyd-Steinberg). Images deeper than 32 bits go to 24 bits first
// on the way to 16, 8, 4 or 1 bits, as FreeImage's reductions read only standard bitmaps.
//
// Takes ownership of image: returns it unchanged when it already has the depth, else a new bitmap after unloading
// the given one. Returns nullptr (having unloaded the image) for any other depth or when a conversion fails;
// nullptr for a nullptr image.
FIBITMAP* ConvertToOutputDepth(FIBITMAP* image, const std::string& format, int& outputBitDepth,
                               bool automaticBitDepth, int sourceBitDepth);

}  // namespace lumivane
