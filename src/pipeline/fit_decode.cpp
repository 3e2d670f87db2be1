#include "pipeline/fit_decode.h"

#include "pipeline/edit_steps.h"

namespace lumivane {

bool HalfSizeDecodeFits(ImageSize full, ImageSize half, const Settings::Transform& transform) {
  if (transform.imageWidthUnit == SizeUnit::kPercent || transform.imageHeightUnit == SizeUnit::kPercent) return false;
  if (half == full || half.width <= 0 || half.height <= 0) return false;
  const std::optional<ImageSize> rotatedFull = RotatedSize(full, transform);
  const std::optional<ImageSize> rotatedHalf = RotatedSize(half, transform);
  if (!rotatedFull || !rotatedHalf) return false;
  // The resize step computes its target from the size it is handed: ask it for both.
  const std::optional<ImageSize> output = PlanResize(rotatedFull->width, rotatedFull->height, transform);
  if (!output) return false;
  const ImageSize halfOutput = PlanResize(rotatedHalf->width, rotatedHalf->height, transform).value_or(*rotatedHalf);
  return halfOutput == *output && rotatedHalf->width >= output->width && rotatedHalf->height >= output->height;
}

}  // namespace lumivane
