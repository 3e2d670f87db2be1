#include "pipeline/edit_steps.h"
#include "pipeline/replace_image.h"

namespace lumivane {

FIBITMAP* AdjustImageColors(FIBITMAP* image, const Settings& settings) {
  const Settings::Adjustment& adjustment = settings.adjustment;
  if (image == nullptr || adjustment.doImageColorCorrection == 0) return image;
  // The colour curves work on 8- to 32-bit images; 1- and 4-bit and deep images go on as 24-bit ones.
  image = ConvertTo24BitsOutside(image, 8, 32);
  if (image == nullptr) return nullptr;
  // Brightness and contrast are percentages; the curves leave the image as it was when they fail.
  FreeImage_AdjustColors(image, adjustment.imageBrightness, adjustment.imageContrast,
                         static_cast<double>(adjustment.imageGamma), adjustment.imageInvert);
  return image;
}

}  // namespace lumivane
