#pragma once
// Mends of the BMP and ICO files FreeImage's encoders write, where the files break the format so that other
// readers refuse or misread them.
#include <vector>

namespace lumivane {

// An 8-bit RLE BMP (BI_RLE8) as FreeImage writes it has three faults, mended here: the file header's size holds
// the uncompressed size and the image size field is 0 (readers that check sizes refuse the file); the last row ends
// with an end-of-line code right before the end-of-bitmap code (FreeImage's own reader then refuses the file); and
// the pad byte after a literal run of odd length is whatever the encoder's buffer held, so that the same picture
// gave different files. The pad bytes become 0, the last end-of-line goes, and both size fields hold the sizes.
// Other BMP files are left as they are. False when the bytes are no BMP or the RLE stream does not end with the
// end-of-bitmap code.
bool MendRle8Bitmap(std::vector<unsigned char>& file);

// FreeImage's icon encoder marks a 16-bit image as BI_BITFIELDS but writes no masks after its header, so readers
// take pixels for masks or refuse the file. Our 16-bit icons hold 5-5-5 pixels (the ico row's reduction), which is
// what BI_RGB means at 16 bits: each such image is marked BI_RGB. False when the bytes are no icon directory whose
// entries lie inside the file.
bool MendSixteenBitIcon(std::vector<unsigned char>& file);

}  // namespace lumivane
