#pragma once
// The size a resize gives an image, and whether the bitmap library can make it, worked out before any pixels move.
#include <cstdint>
#include <optional>

#include "settings/settings.h"

namespace lumivane {

struct ImageSize {
  std::int32_t width = 0;
  std::int32_t height = 0;
  bool operator==(const ImageSize&) const = default;
};

// The new size of an image of width x height under the Transform settings, or nullopt when it stays as it is:
// resizing off, a size or target not positive, the target equal to the size, or (LARGEIMAGES) an image smaller
// than the target both ways. With the aspect ratio kept the longer side takes its target and the other side
// follows; a side that would round to 0 pixels gets 1.
std::optional<ImageSize> PlanResize(std::int32_t width, std::int32_t height, const Settings::Transform& transform);

// Whether rescaling a from-sized bitmap of bitsPerPixel to `to` fits what the bitmap library can address and,
// with the pass between the two sizes, memoryLimit bytes. Palettised and 16-bit images count as 24-bit, as they
// are rescaled in colour.
bool RescaleFits(ImageSize from, ImageSize to, unsigned bitsPerPixel, std::uint64_t memoryLimit);

}  // namespace lumivane
