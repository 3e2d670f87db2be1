#pragma once
// Pictures to encode and readers that decode written files independently of the encoders under test.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include <FreeImage.h>

#include "formats/registry.h"
#include "pipeline/decoded_image.h"
#include "pipeline/encode_request.h"

namespace lumivane::testing {

// Releases a FreeImage bitmap at scope end.
struct BitmapDeleter {
  void operator()(FIBITMAP* image) const {
    if (image != nullptr) FreeImage_Unload(image);
  }
};

// 24-bit picture in four quadrants: red top-left, green top-right, blue bottom-left, white bottom-right.
FIBITMAP* MakeQuadrantImage(unsigned width, unsigned height);

// Random-looking but repeatable 24-bit pixels, which compress badly.
FIBITMAP* MakeNoiseImage(unsigned width, unsigned height, unsigned seed = 1);

// The row of an output format identifier; throws std::invalid_argument (failing the test) for any other text.
const OutputFormat& FormatRow(std::string_view identifier);

// A request to encode an image converted to outputBitDepth for `format` with the encoder flags; the bmp colour
// table automatic and the bmp compression none.
EncodeRequest RequestFor(const std::string& format, int outputBitDepth, int saveFlags);

// "<folder>out.<format>" (folder ending in "/"): where the tests write an encoded output.
std::string OutputPathIn(const std::string& folder, const std::string& format);

// Encodes image as the request asks (EncodeImageFile) and writes the bytes to OutputPathIn(folder, format) through a
// fresh temporary name in that folder (WriteFileViaTemporary), as a batch commits an output. Returns that path, or
// "" when the encoder or the write fails (nothing is written when the encoder fails).
std::string EncodeToFile(FIBITMAP* image, const EncodeRequest& request,
                         const std::string& folder);

// Sets the alpha of every pixel of a 32-bit image (encoders may drop an alpha channel that is fully opaque).
void SetAlpha(FIBITMAP* image, BYTE alpha);

// The quadrants' colours and the centre of each quadrant, rows counted from the top.
struct Quadrant {
  std::array<int, 3> rgb;
  double centreX;  // fraction of the width
  double centreY;  // fraction of the height, from the top
};
inline constexpr std::array<Quadrant, 4> kQuadrants = {{
    {{255, 0, 0}, 0.25, 0.25},
    {{0, 255, 0}, 0.75, 0.25},
    {{0, 0, 255}, 0.25, 0.75},
    {{255, 255, 255}, 0.75, 0.75},
}};

// Grey value FreeImage gives a colour (Rec. 709 weights).
int GreyOf(const std::array<int, 3>& rgb);

DecodedImage ReadWithFreeImage(const std::string& path, int freeImageFormat);
DecodedImage ReadWithDevil(const std::string& path);
// The reader that suits an output format identifier: DevIL for psd, dds, pcx, jxrlib for jxr, else FreeImage
// with the format's encoder type id.
DecodedImage ReadOutput(const std::string& path, const std::string& format);

// Names of the entries of a folder, sorted.
std::vector<std::string> FolderEntries(const std::string& folder);

}  // namespace lumivane::testing
