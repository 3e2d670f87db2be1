#include "pipeline/replace_image.h"

namespace lumivane {

FIBITMAP* ConvertTo24BitsOutside(FIBITMAP* image, unsigned lowestBpp, unsigned highestBpp) {
  if (image == nullptr) return nullptr;
  const unsigned bpp = FreeImage_GetBPP(image);
  if (bpp >= lowestBpp && bpp <= highestBpp) return image;
  return ReplaceImage(image, FreeImage_ConvertTo24Bits(image));
}

}  // namespace lumivane
