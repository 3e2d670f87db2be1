#pragma once
// 8-bit BMP files whose colour table holds only the palette entries the picture uses (`Output/BMP Color Table`
// EXACT), where FreeImage's encoder always writes all 256.
#include <FreeImage.h>

#include <optional>
#include <vector>

#include "settings/setting_codes.h"

namespace lumivane {

// The encoder's own 14 + 40 + 256 * 4 bytes in front of the pixel data of an 8-bit BMP.
inline constexpr unsigned kFullPaletteBmpPixelOffset = 1078;

// Encodes an 8-bit palettised image as BMP (FreeImage encoder `encoderTypeId` with `saveFlags`) and rebuilds the
// file with a palette of n entries, n = 1 + the highest palette index any pixel uses: pixel offset 54 + 4n, colours
// used and important n, compression as given (plain or RLE8). No value for other images, or when the encoder's
// output does not have the layout described at kFullPaletteBmpPixelOffset. The image stays the caller's.
std::optional<std::vector<unsigned char>> EncodeExactPaletteBitmap(FIBITMAP* image, int encoderTypeId, int saveFlags,
                                                                   RleCompression compression);

}  // namespace lumivane
