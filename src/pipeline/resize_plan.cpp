#include "pipeline/resize_plan.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "pipeline/target_size.h"

namespace lumivane {

namespace {

// FreeImage works out a row's bits, and image sizes, in 32-bit integers.
constexpr std::uint64_t kMaxRowBits = INT32_MAX;
constexpr std::uint64_t kMaxImageBytes = INT32_MAX;

// The other side, scaled by the ratio of the image's sides as single-precision values; never below 1 pixel.
std::int32_t FollowingSide(std::int32_t target, std::int32_t longer, std::int32_t shorter) {
  const float ratio = static_cast<float>(longer) / static_cast<float>(shorter);
  const float side = static_cast<float>(target) / ratio;  // at most target, as ratio >= 1
  return std::max<std::int32_t>(1, static_cast<std::int32_t>(std::round(side)));
}

// Bytes of a bitmap with rows padded to 4 bytes; 0 when FreeImage cannot address it.
std::uint64_t BitmapBytes(ImageSize size, unsigned bitsPerPixel) {
  const std::uint64_t rowBits = static_cast<std::uint64_t>(size.width) * bitsPerPixel;
  if (rowBits > kMaxRowBits) return 0;
  const std::uint64_t bytes = (rowBits + 31) / 32 * 4 * static_cast<std::uint64_t>(size.height);
  return bytes > kMaxImageBytes ? 0 : bytes;
}

}  // namespace

std::optional<ImageSize> PlanResize(std::int32_t width, std::int32_t height, const Settings::Transform& transform) {
  if (transform.doImageResize == 0 || width <= 0 || height <= 0) return std::nullopt;
  const std::int32_t targetWidth = ComputeTargetSize(transform.imageWidth, transform.imageWidthUnit, width);
  const std::int32_t targetHeight = ComputeTargetSize(transform.imageHeight, transform.imageHeightUnit, height);
  if (targetWidth <= 0 || targetHeight <= 0) return std::nullopt;
  if (width == targetWidth && height == targetHeight) return std::nullopt;
  // An image that reaches the target in at least one direction is resized.
  if (transform.imageResizeType == ResizeType::kLargeImages && width < targetWidth && height < targetHeight) {
    return std::nullopt;
  }
  if (transform.keepAspectRatio == 0) return ImageSize{targetWidth, targetHeight};
  if (width >= height) return ImageSize{targetWidth, FollowingSide(targetWidth, width, height)};
  return ImageSize{FollowingSide(targetHeight, height, width), targetHeight};
}

bool RescaleFits(ImageSize from, ImageSize to, unsigned bitsPerPixel, std::uint64_t memoryLimit) {
  if (from.width <= 0 || from.height <= 0 || to.width <= 0 || to.height <= 0) return false;
  const unsigned bpp = std::max(bitsPerPixel, 24U);
  const std::uint64_t result = BitmapBytes(to, bpp);
  // The filter runs one direction at a time through a bitmap of one old and one new side.
  const std::uint64_t pass =
      std::max(BitmapBytes({to.width, from.height}, bpp), BitmapBytes({from.width, to.height}, bpp));
  if (result == 0 || pass == 0) return false;
  return result + pass <= memoryLimit;
}

}  // namespace lumivane
