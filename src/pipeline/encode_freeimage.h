#pragma once
// The FreeImage encoders: every output format except psd, dds, pcx (DevIL) and jxr (jxrlib).
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include <FreeImage.h>

#include "pipeline/encode_request.h"

namespace lumivane {

// Encodes image into memory with FreeImage's encoder `encoderTypeId` and `saveFlags`, then hands the encoded bytes
// to use (they live only during that call). False when the encoder fails, writes nothing, or use returns false.
// The image stays the caller's.
bool EncodeWithFreeImage(FIBITMAP* image, int encoderTypeId, int saveFlags,
                         const std::function<bool(std::span<const unsigned char>)>& use);

// Copies the metadata of metadataHolder (when there is one) onto image and encodes it into memory with the
// request's encoder and flags, as SaveWithFreeImage does. No value when the encoder fails. Both bitmaps stay the
// caller's.
std::optional<std::vector<unsigned char>> EncodeFreeImageFile(FIBITMAP* image, FIBITMAP* metadataHolder,
                                                              const EncodeRequest& request);

// Copies the metadata of metadataHolder (when there is one) onto image, encodes it with the request's encoder and
// flags and writes the file through the request's temporary path. Both bitmaps stay the caller's.
// FreeImage's pbm and pgm encoders write pixel values without looking at the palette, so pbm gets the bits with
// 1 = black and pgm grey levels instead of palette indices (from copies; the image itself is not changed).
bool SaveWithFreeImage(FIBITMAP* image, FIBITMAP* metadataHolder, const EncodeRequest& request);

}  // namespace lumivane
