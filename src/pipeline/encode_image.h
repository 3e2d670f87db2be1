#pragma once
// Writing the converted image as the output file: the choice of encoder and the safe write.
#include <optional>
#include <vector>

#include <FreeImage.h>

#include "pipeline/encode_request.h"

namespace lumivane {

// `Output/BMP Color Table` code of EXACT.
inline constexpr int kBmpColorTableExact = 1;

// Encodes image into memory with the encoder of request.format: DevIL for psd, dds (with mipmaps) and pcx;
// jxrlib for jxr; SaveExactPaletteBitmap for 8-bit bmp with `Output/BMP Color Table` EXACT; FreeImage for every
// other case, after copying the metadata of metadataHolder onto the image (only this route keeps metadata). The
// bytes go to request.temporaryPath, which is renamed onto request.outputPath only when everything was written, so
// a failure leaves no temporary file and an older output of the same name as it was. True when the output file
// was written.
//
// Borrows both bitmaps: the caller unloads image and metadataHolder afterwards. metadataHolder may be nullptr.
bool EncodeImage(FIBITMAP* image, FIBITMAP* metadataHolder, const EncodeRequest& request);

// The bytes of the output file that EncodeImage writes, encoded into memory by the same route; the request's paths
// are not used. No value when there is no image or the encoder fails. Borrows both bitmaps.
std::optional<std::vector<unsigned char>> EncodeImageFile(FIBITMAP* image, FIBITMAP* metadataHolder,
                                                          const EncodeRequest& request);

}  // namespace lumivane
