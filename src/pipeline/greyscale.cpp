#include "pipeline/edit_steps.h"
#include "pipeline/replace_image.h"

namespace lumivane {

FIBITMAP* GreyscaleImage(FIBITMAP* image, const Settings& settings) {
  if (image == nullptr || settings.adjustment.doImageGreyscale == 0) return image;
  image = ConvertTo24BitsOutside(image, 1, 32);
  if (image == nullptr) return nullptr;
  return ReplaceImage(image, FreeImage_ConvertToGreyscale(image));
}

}  // namespace lumivane
