#pragma once
// A decoded output file, in a form every reader can fill.
#include <array>
#include <vector>

namespace lumivane::testing {

// A decoded file: its geometry, depth and its pixels as 8-bit RGB rows from the top.
struct DecodedImage {
  bool ok = false;
  unsigned width = 0;
  unsigned height = 0;
  int bitsPerPixel = 0;
  int mipmaps = 0;  // DevIL's count of mipmaps below the base image
  std::vector<unsigned char> rgb;

  // Mean colour of the patch of about a tenth of each side around (fx, fy), as fractions of width and height.
  std::array<int, 3> MeanAround(double fx, double fy) const;
};

// value * 255 rounded and limited to 0..255.
unsigned char ScaledToByte(double value);

}  // namespace lumivane::testing
