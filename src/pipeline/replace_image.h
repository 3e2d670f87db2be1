#pragma once
// The hand-over between a bitmap and the one a library call made from it, shared by the edit steps.
#include <FreeImage.h>

namespace lumivane {

// Unloads image and returns replacement, the bitmap made from it (nullptr when the call that made it failed).
// Call as ReplaceImage(image, Make(image)): the argument is made before image is unloaded.
inline FIBITMAP* ReplaceImage(FIBITMAP* image, FIBITMAP* replacement) {
  FreeImage_Unload(image);
  return replacement;
}

// The bit depths a step works on directly: an image outside lowestBpp..highestBpp bits per pixel is first
// converted to 24 bits (replacing it; nullptr when the conversion fails), one inside is returned as it is.
FIBITMAP* ConvertTo24BitsOutside(FIBITMAP* image, unsigned lowestBpp, unsigned highestBpp);

}  // namespace lumivane
