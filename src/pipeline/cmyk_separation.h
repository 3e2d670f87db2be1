#pragma once
// The plain separation of an RGB picture into CMYK, without a colour profile (Debian's free profiles hold none for
// print): K = 1 - max(R, G, B) and C = (1 - R - K) / (1 - K), likewise M and Y, truncated to the sample scale; black
// gives C = M = Y = 0. ImageMagick's "-colorspace CMYK" separates the same way, and the way back, R = (1 - C)(1 - K),
// gives the picture again.
#include <FreeImage.h>

namespace lumivane {

// A new bitmap with the picture's CMYK in the layout FreeImage's TIFF encoder writes with TIFF_CMYK: from a 24- or
// 32-bit picture 32 bits a pixel whose bytes are C, M, Y, K in memory order; from a 48-bit one (FIT_RGB16) a
// FIT_RGBA16 with C, M, Y, K in red, green, blue and alpha. An alpha channel is not kept. nullptr for other
// pictures or when memory runs out; the picture stays the caller's.
FIBITMAP* SeparateCmyk(FIBITMAP* picture);

}  // namespace lumivane
