#pragma once
// Reads PNG bytes back the way the pipeline does (FreeImage_OpenMemory + FreeImage_LoadFromMemory(FIF_PNG)),
// for checking what the drawing layer encoded.
#include <FreeImage.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace lumivane::testing {

class PngReadback {
 public:
  explicit PngReadback(const std::vector<std::uint8_t>& png);
  ~PngReadback();
  PngReadback(const PngReadback&) = delete;
  PngReadback& operator=(const PngReadback&) = delete;

  bool IsLoaded() const { return bitmap_ != nullptr; }
  unsigned BitsPerPixel() const;
  int Width() const;
  int Height() const;
  // Straight RGBA, red in the lowest byte; (0, 0) is the top-left pixel. None outside or unless 32-bit.
  std::optional<std::uint32_t> Pixel(int x, int y) const;

 private:
  FIBITMAP* bitmap_ = nullptr;
};

}  // namespace lumivane::testing
