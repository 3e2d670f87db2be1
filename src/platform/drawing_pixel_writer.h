#pragma once
// How a raster drawing session writes one pixel in its drawing mode.
#include "platform/drawing_2d.h"
#include "platform/drawing_pixel.h"

namespace lumivane {

class PixelWriter {
 public:
  PixelWriter(DrawingMode mode, const PixelFilter& filter) : mode_(mode), filter_(filter) {}

  // For drawing one colour onto many pixels: the filter runs once, here.
  void PrepareColour(Rgba colour) {
    prepared_ = PremultiplyRgba(mode_ == DrawingMode::kFilter ? filter_(colour) : colour);
  }
  void PutColour(PremultipliedPixel& destination) const {
    destination = mode_ == DrawingMode::kBlend ? BlendOver(prepared_, destination) : prepared_;
  }
  // For drawing an image: every source pixel is its own colour.
  void PutPixel(PremultipliedPixel& destination, PremultipliedPixel source) const {
    switch (mode_) {
      case DrawingMode::kBlend:
        destination = BlendOver(source, destination);
        return;
      case DrawingMode::kAllChannels:
        destination = source;
        return;
      case DrawingMode::kFilter:
        destination = PremultiplyRgba(filter_(UnpremultiplyPixel(source)));
        return;
    }
  }

 private:
  DrawingMode mode_;
  const PixelFilter& filter_;
  PremultipliedPixel prepared_ = 0;
};

}  // namespace lumivane
