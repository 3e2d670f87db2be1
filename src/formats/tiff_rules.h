#pragma once
// What a TIFF file can hold at each depth: the compressions FreeImage's TIFF encoder applies there and the depths
// written as separated CMYK. The encoder itself falls back to another compression without a word when a depth does
// not allow the one asked for, and tags RGBA bytes as CMYK; so the file's compression and colour model are decided
// here, and the TIFF step of the pipeline says so when they differ from what was asked.
#include <cstdint>

#include "settings/setting_codes.h"

namespace lumivane {

// The compression a file of bitDepth gets when `asked` is asked for: the asked one where that depth allows it, else
// LZW (CCITT G4 for LogLuv at 1 bit, the encoder's choice for black and white). CCITT G3 and G4 apply at 1 bit,
// JPEG at 24 bits and to 8-bit grey levels, LogLuv at 96 bits; the others everywhere. A code past the end of the
// list (the encoder's own choice) stays as it is.
TiffCompression TiffCompressionWritten(TiffCompression asked, std::int32_t bitDepth, bool greyLevels);

// The depth of the separated CMYK file written for a picture of bitDepth: 32 (8 bits a sample) for 24 and 32 bits,
// 64 (16 bits a sample) for 48 bits; 0 where CMYK is not written (1, 4, 8 and 96 bits).
std::int32_t TiffCmykBitDepth(std::int32_t bitDepth);

// The depth a TIFF file is written with: the CMYK depth when the colour mode is CMYK and the depth allows it, else
// bitDepth itself.
std::int32_t TiffWrittenBitDepth(ColorMode colorMode, std::int32_t bitDepth);

// The encoder's flags for a compression and colour model (LAB encodes like RGB); a code past the end of a list
// contributes nothing.
std::int32_t TiffSaveFlags(TiffCompression compression, ColorMode colorMode);

}  // namespace lumivane
