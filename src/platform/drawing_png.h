#pragma once
// PNG encoding of a drawing image into memory, for handing the drawing to FreeImage.
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/drawing_image.h"

namespace lumivane {

// Always 8-bit RGBA with straight alpha, also for a fully opaque image, so FreeImage_LoadFromMemory(FIF_PNG)
// gives back a 32-bit bitmap with the same colours and alpha. None when the image is empty or encoding fails.
std::optional<std::vector<std::uint8_t>> EncodeDrawingImagePng(const DrawingImage& image);

}  // namespace lumivane
