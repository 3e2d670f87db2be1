#pragma once
// Pictures of one colour for the frame and watermark tests, and reading pixels back with the top row first.
#include <FreeImage.h>

#include <optional>
#include <string>

#include "settings/settings.h"
#include "support/temp_dir.h"
#include "support/unique_bitmap.h"

namespace lumivane::testing {

struct Rgb {
  int r = 0;
  int g = 0;
  int b = 0;
  bool operator==(const Rgb&) const = default;
};

// The largest difference of the three channels.
int Distance(const Rgb& a, const Rgb& b);

// A picture of one colour; 32-bit pictures are opaque.
UniqueBitmap MakeSolidPicture(int width, int height, Rgb colour, int bitsPerPixel = 24);

// The colour at (x, y), (0, 0) being the top-left pixel, of a 24- or 32-bit picture; none outside.
std::optional<Rgb> PixelOf(FIBITMAP* picture, int x, int y);

// The smallest rectangle holding every pixel further than `tolerance` from `background`; right and bottom are
// exclusive. Empty (count 0) when there is none.
struct ChangedArea {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int count = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};
ChangedArea FindChangedArea(FIBITMAP* picture, Rgb background, int tolerance = 2);
// The same against another picture of the same size (an empty area when the sizes differ).
ChangedArea FindChangedArea(FIBITMAP* picture, FIBITMAP* before, int tolerance = 2);

// Writes a picture file of one colour (24-bit, or 32-bit with the alpha given) below the folder.
std::string WriteSolidPng(const TempDir& folder, const std::string& name, int width, int height, Rgb colour,
                          std::optional<int> alpha = std::nullopt);

// The command-line defaults.
Settings DefaultSettings();

}  // namespace lumivane::testing
