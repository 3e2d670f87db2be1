#include <cstdint>

#include "pipeline/edit_steps.h"
#include "pipeline/replace_image.h"

namespace lumivane {

FIBITMAP* ThresholdImage(FIBITMAP* image, const Settings& settings) {
  const Settings::Adjustment& adjustment = settings.adjustment;
  if (image == nullptr || adjustment.doImageThreshold == 0) return image;
  image = ConvertTo24BitsOutside(image, 4, 32);
  if (image == nullptr) return nullptr;
  // The level is one byte: only the low 8 bits of the setting count (300 acts as 44).
  const auto level = static_cast<BYTE>(static_cast<std::uint32_t>(adjustment.imageThreshold) & 0xFFU);
  return ReplaceImage(image, FreeImage_Threshold(image, level));
}

}  // namespace lumivane
