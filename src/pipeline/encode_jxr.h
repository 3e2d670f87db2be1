#pragma once
// The JPEG XR encoder (jxrlib), for jxr files: FreeImage's own JPEG XR plugin cannot save on this platform.
#include <optional>
#include <vector>

// Declared here rather than through FreeImage.h: that header defines _WINDOWS_, which makes jxrlib's GUID 24 bytes
// instead of the library's 16, so jxrlib's headers must come first wherever both are used.
struct FIBITMAP;

namespace lumivane {

// saveFlags 100 (or more) encodes losslessly; 1..99 is a quality (higher is better), 0 the default quality 80.
inline constexpr int kJpegXrLossless = 100;
inline constexpr int kJpegXrDefaultQuality = 80;

// Encodes image into a JPEG XR file in memory. Pixel formats by depth: 1 BlackWhite (0 black), 8 8bppGray,
// 16 16bppRGB565 or 16bppRGB555 after the image's masks, 24 24bppBGR, 32 32bppBGRA, 48 (RGB16) 48bppRGB,
// 96 (RGBF) 96bppRGBFloat. Palettised 1- and 8-bit images that are not plain black-to-white ramps are turned into
// greys first. No value for other images or when jxrlib fails (also when built without jxrlib).
// The image stays the caller's.
std::optional<std::vector<unsigned char>> EncodeJpegXr(FIBITMAP* image, int saveFlags);

}  // namespace lumivane
