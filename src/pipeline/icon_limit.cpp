#include "pipeline/icon_limit.h"

namespace lumivane {

FIBITMAP* LimitIconSize(FIBITMAP* image, std::string_view outputFormat) {
  if (image == nullptr || outputFormat != "ico") return image;
  if (FreeImage_GetWidth(image) <= kIconMaxSide && FreeImage_GetHeight(image) <= kIconMaxSide) return image;
  FIBITMAP* icon = FreeImage_Rescale(image, kIconMaxSide, kIconMaxSide, FILTER_BICUBIC);
  FreeImage_Unload(image);
  return icon;
}

}  // namespace lumivane
