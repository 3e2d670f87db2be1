#pragma once
// Small bitmaps for the edit-step tests, and ways to look at what a step made of them.
#include <FreeImage.h>

#include <array>
#include <vector>

namespace lumivane::testing {

// Every pixel of a 24- or 32-bit image set to one colour (alpha 255 for 32 bits).
FIBITMAP* MakeFilledImage(unsigned width, unsigned height, unsigned bpp, std::array<BYTE, 3> rgb);

// A 24-bit image whose grey level runs from `first` at the left edge to `last` at the right edge.
FIBITMAP* MakeGreyGradient(unsigned width, unsigned height, BYTE first, BYTE last);

// An 8-bit greyscale (palette 0..255) image whose pixel index is its column: use a width of 256 to get every level.
FIBITMAP* MakeGreyRamp8(unsigned width, unsigned height);

// The other pixel formats met in the pipeline: 48-bit RGB filled with one 16-bit value per channel, 16-bit 5-6-5,
// and 1-, 4- and 8-bit palettised (from a 24-bit grey gradient).
FIBITMAP* MakeImage48(unsigned width, unsigned height, std::array<WORD, 3> rgb);
FIBITMAP* MakeImageOfDepth(unsigned width, unsigned height, unsigned bpp);

// A pixel's colour, (x, y) counted from the top-left corner; palettised images through their palette.
// The alpha of 32-bit pixels is in rgbReserved.
RGBQUAD PixelAt(FIBITMAP* image, unsigned x, unsigned y);
std::array<int, 3> RgbAt(FIBITMAP* image, unsigned x, unsigned y);

// Mean of red, green and blue over the columns [firstColumn, endColumn) of a 24-bit image.
double MeanLevel(FIBITMAP* image, unsigned firstColumn, unsigned endColumn);

// The pixel rows of a bitmap as bytes (without row padding), for comparing two results exactly.
std::vector<BYTE> PixelBytes(FIBITMAP* image);

}  // namespace lumivane::testing
