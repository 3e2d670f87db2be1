#include "pipeline/icon_limit.h"

namespace lumivane {

FIBITMAP* LimitToLargestSide(FIBITMAP* image, const OutputFormat& format) {
  const unsigned side = format.largestSide;
  if (image == nullptr || side == 0) return image;
  if (FreeImage_GetWidth(image) <= side && FreeImage_GetHeight(image) <= side) return image;
  FIBITMAP* limited = FreeImage_Rescale(image, static_cast<int>(side), static_cast<int>(side), FILTER_BICUBIC);
  FreeImage_Unload(image);
  return limited;
}

}  // namespace lumivane
