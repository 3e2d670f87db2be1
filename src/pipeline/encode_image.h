#pragma once
// Encoding the converted image into the bytes of the output file, by its format's encoder route.
#include <FreeImage.h>

#include <optional>
#include <vector>

#include "pipeline/encode_request.h"

namespace lumivane {

// The bytes of the output file, encoded into memory by the route of request.format's row: DevIL, jxrlib, our exact-
// palette writer for 8-bit bmp with an EXACT colour table, or FreeImage. None of them writes metadata: the metadata
// step does (photo_metadata.h). BMP and ICO files are mended where FreeImage's
// encoders break the format (bitmap_file_mends.h). No value when there is no image, the format is
// unknown or the encoder fails. Borrows the bitmap.
std::optional<std::vector<unsigned char>> EncodeImageFile(FIBITMAP* image, const EncodeRequest& request);

}  // namespace lumivane
