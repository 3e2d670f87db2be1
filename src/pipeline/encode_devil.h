#pragma once
// The DevIL encoders, for psd, dds and pcx files.
#include <FreeImage.h>

#include <optional>
#include <vector>

namespace lumivane {

// Encodes a 24-bit (handed to DevIL as BGR) or 32-bit (BGRA) image with DevIL's encoder for image type
// `ilImageType` (IL_PSD, IL_DDS, IL_PCX) into memory; withMipmaps adds the mipmap chain (dds). No value for other
// depths or when DevIL fails. DevIL's state is process-wide, so calls are serialised; InitialiseEncoders runs
// first. The image stays the caller's.
std::optional<std::vector<unsigned char>> EncodeWithDevil(FIBITMAP* image, int ilImageType, bool withMipmaps);

}  // namespace lumivane
