#pragma once
// The FreeImage encoders: every output format whose route is one of FreeImage's.
#include <FreeImage.h>

#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "formats/registry.h"

namespace lumivane {

// Encodes image into memory with FreeImage's encoder `encoderTypeId` and `saveFlags`, then hands the encoded bytes
// to use (they live only during that call). False when the encoder fails, writes nothing, or use returns false.
// The image stays the caller's.
bool EncodeWithFreeImage(FIBITMAP* image, int encoderTypeId, int saveFlags,
                         const std::function<bool(std::span<const unsigned char>)>& use);

// Removes the decoder's thumbnail and metadata from image (the metadata step writes the photo's own; the ICC
// profile stays) and encodes it into memory with the format's FreeImage encoder and saveFlags. FreeImage's pbm and pgm
// encoders write pixel values without looking at the palette, so their routes hand it the bits with 1 = black, or grey
// levels instead of palette indices; its pfm encoder stores the top row first, so pfm's route hands it the picture
// upside down (all from copies). No value when the encoder fails. The image stays the caller's.
std::optional<std::vector<unsigned char>> EncodeFreeImageFile(FIBITMAP* image, const OutputFormat& format,
                                                              int saveFlags);

}  // namespace lumivane
