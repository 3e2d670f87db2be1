#include "pipeline/edit_steps.h"

namespace lumivane {

// Both flips work in place; a failed flip leaves the image as it was, so their results are not needed.
FIBITMAP* FlipImage(FIBITMAP* image, const Settings& settings) {
  if (image == nullptr) return nullptr;
  if (settings.transform.doImageFlipHorizontal != 0) FreeImage_FlipHorizontal(image);
  if (settings.transform.doImageFlipVertical != 0) FreeImage_FlipVertical(image);
  return image;
}

}  // namespace lumivane
