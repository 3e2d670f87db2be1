#include "pipeline/code_table.h"
#include "pipeline/edit_steps.h"
#include "pipeline/replace_image.h"

namespace lumivane {

namespace {

// One row per code of the setting, whose order differs from FreeImage's numbering.
using enum DitherAlgorithm;
constexpr CodeRow<DitherAlgorithm, FREE_IMAGE_DITHER> kDitherRows[] = {
    {kFloydSteinberg, FID_FS},      {kBayer4, FID_BAYER4x4},     {kBayer8, FID_BAYER8x8},
    {kBayer16, FID_BAYER16x16},     {kCluster6, FID_CLUSTER6x6}, {kCluster8, FID_CLUSTER8x8},
    {kCluster16, FID_CLUSTER16x16},
};
static_assert(CodesRunFromZero(kDitherRows));

}  // namespace

FIBITMAP* DitherImage(FIBITMAP* image, const Settings& settings) {
  const Settings::Adjustment& adjustment = settings.adjustment;
  if (image == nullptr || adjustment.doImageDither == 0) return image;
  // A 1-bit image (after a threshold) is dithered from its 24-bit form; unknown codes dither with Floyd-Steinberg.
  image = ConvertTo24BitsOutside(image, 4, 32);
  if (image == nullptr) return nullptr;
  return ReplaceImage(image,
                      FreeImage_Dither(image, ValueForCode(kDitherRows, adjustment.imageDitherAlgorithm, FID_FS)));
}

}  // namespace lumivane
