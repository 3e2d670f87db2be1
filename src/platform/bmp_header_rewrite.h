#pragma once
// BMP files with the longer info headers of later versions (52, 56, 108 and 124 bytes; ImageMagick writes 124 by
// default) rewritten with the 40-byte header, the only one FreeImage 3.18 reads besides the 12-byte OS/2 header.
#include <vector>

namespace lumivane {

// Rewrites a BMP file with a longer header in place: the first 40 bytes of the header stay, bit-field masks
// (compression 3) follow it as the 40-byte header has them, then the colour table and the pixels unchanged; the
// offset of the pixels and the file size follow. Any other file is left as it is. True when the file may go to
// FreeImage's reader; false for a BMP that cannot be rewritten: cut short, or holding JPEG, PNG or alpha bit
// fields (compression 4, 5, 6), which FreeImage does not decode.
bool RewriteWithClassicBmpHeader(std::vector<unsigned char>& file);

}  // namespace lumivane
