#include "pipeline/code_table.h"
#include "pipeline/edit_steps.h"
#include "pipeline/replace_image.h"
#include "pipeline/resize_plan.h"
#include "platform/available_memory.h"

namespace lumivane {

namespace {

// One row per code of the setting, whose order differs from FreeImage's numbering.
using enum ResizeAlgorithm;
constexpr CodeRow<ResizeAlgorithm, FREE_IMAGE_FILTER> kResizeFilterRows[] = {
    {kBox, FILTER_BOX},         {kBilinear, FILTER_BILINEAR},     {kBSpline, FILTER_BSPLINE},
    {kBicubic, FILTER_BICUBIC}, {kCatmullRom, FILTER_CATMULLROM}, {kLanczos, FILTER_LANCZOS3},
};
static_assert(CodesRunFromZero(kResizeFilterRows));

}  // namespace

FIBITMAP* ResizeImage(FIBITMAP* image, int width, int height, const Settings& settings) {
  if (image == nullptr) return nullptr;
  const std::optional<ImageSize> size = PlanResize(width, height, settings.transform);
  if (!size) return image;
  // A size the library cannot make, or memory cannot hold, fails the file rather than the process.
  if (!RescaleFits({width, height}, *size, FreeImage_GetBPP(image), AvailableMemoryBytes())) {
    FreeImage_Unload(image);
    return nullptr;
  }
  // Unknown codes resize bicubically.
  const FREE_IMAGE_FILTER filter =
      ValueForCode(kResizeFilterRows, settings.transform.imageResizeAlgorithm, FILTER_BICUBIC);
  return ReplaceImage(image, FreeImage_Rescale(image, size->width, size->height, filter));
}

}  // namespace lumivane
