// Flood fill: a span fill with an explicit work list, bounded by the image (no recursion). A "done" mark per
// pixel keeps every pixel from being filled twice, also when the fill colour equals the area's colour.
#include <utility>
#include <vector>

#include "platform/drawing_2d.h"
#include "platform/drawing_pixel_writer.h"

namespace lumivane {
namespace {

class AreaFill {
 public:
  AreaFill(const SurfacePixels& pixels, PremultipliedPixel areaColour)
      : pixels_(pixels), areaColour_(areaColour), done_(static_cast<std::size_t>(pixels.Width() * pixels.Height())) {}

  void Run(std::int64_t x, std::int64_t y, const PixelWriter& writer) {
    pending_.emplace_back(x, y);
    while (!pending_.empty()) {
      const auto [seedX, seedY] = pending_.back();
      pending_.pop_back();
      if (!Belongs(seedX, seedY)) continue;
      std::int64_t left = seedX;
      std::int64_t right = seedX;
      while (left > 0 && Belongs(left - 1, seedY)) --left;
      while (right + 1 < pixels_.Width() && Belongs(right + 1, seedY)) ++right;
      PremultipliedPixel* row = pixels_.Row(seedY);
      for (std::int64_t i = left; i <= right; ++i) {
        done_[Index(i, seedY)] = true;
        writer.PutColour(row[i]);
      }
      if (seedY > 0) QueueRuns(left, right, seedY - 1);
      if (seedY + 1 < pixels_.Height()) QueueRuns(left, right, seedY + 1);
    }
  }

 private:
  std::size_t Index(std::int64_t x, std::int64_t y) const { return static_cast<std::size_t>(y * pixels_.Width() + x); }
  bool Belongs(std::int64_t x, std::int64_t y) const { return !done_[Index(x, y)] && pixels_.Row(y)[x] == areaColour_; }
  // One work item per run of area pixels next to the filled span.
  void QueueRuns(std::int64_t left, std::int64_t right, std::int64_t y) {
    bool inRun = false;
    for (std::int64_t x = left; x <= right; ++x) {
      const bool belongs = Belongs(x, y);
      if (belongs && !inRun) pending_.emplace_back(x, y);
      inRun = belongs;
    }
  }

  const SurfacePixels& pixels_;
  const PremultipliedPixel areaColour_;
  std::vector<bool> done_;
  std::vector<std::pair<std::int64_t, std::int64_t>> pending_;
};

}  // namespace

bool Drawing2D::FloodFill(std::int64_t x, std::int64_t y, Rgba colour) {
  const SurfacePixels pixels(target_);
  if (!IsOpen() || !pixels.IsValid() || !pixels.Contains(x, y)) return false;
  PixelWriter writer(mode_, filter_);
  writer.PrepareColour(colour);
  AreaFill fill(pixels, pixels.Row(y)[x]);
  fill.Run(x, y, writer);
  pixels.MarkChanged();
  return true;
}

}  // namespace lumivane
