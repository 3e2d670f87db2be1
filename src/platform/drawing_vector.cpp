#include "platform/drawing_vector.h"

#include <algorithm>
#include <cmath>

#include "platform/drawing_path_segments.h"
#include "platform/drawing_pixel.h"

namespace lumivane {
namespace {

bool InPathRange(double value) { return std::isfinite(value) && std::fabs(value) <= kMaxPathCoordinate; }

}  // namespace

VectorDrawing::VectorDrawing(DrawingImage& image) {
  if (!SurfacePixels(image.Surface()).IsValid()) return;
  cairo_t* context = cairo_create(image.Surface());
  if (cairo_status(context) != CAIRO_STATUS_SUCCESS) {
    cairo_destroy(context);
    return;
  }
  context_ = context;
  SetSourceColour(colour_);
}

VectorDrawing::~VectorDrawing() { Stop(); }

void VectorDrawing::Stop() {
  if (context_ == nullptr) return;
  while (!layerAlphas_.empty()) EndLayer();
  cairo_surface_flush(cairo_get_target(context_));
  cairo_destroy(context_);
  context_ = nullptr;
}

bool VectorDrawing::BeginLayer(int alpha) {
  if (!IsOpen()) return false;
  cairo_push_group(context_);
  layerAlphas_.push_back(std::clamp(alpha, 0, 255));
  SetSourceColour(colour_);
  return cairo_status(context_) == CAIRO_STATUS_SUCCESS;
}

bool VectorDrawing::EndLayer() {
  if (!IsOpen() || layerAlphas_.empty()) return false;
  cairo_pop_group_to_source(context_);
  cairo_paint_with_alpha(context_, layerAlphas_.back() / 255.0);
  layerAlphas_.pop_back();
  SetSourceColour(colour_);
  return cairo_status(context_) == CAIRO_STATUS_SUCCESS;
}

void VectorDrawing::SetSourceColour(Rgba colour) {
  colour_ = colour;
  if (!IsOpen()) return;
  cairo_set_source_rgba(context_, RedOf(colour) / 255.0, GreenOf(colour) / 255.0, BlueOf(colour) / 255.0,
                        AlphaOf(colour) / 255.0);
}

bool VectorDrawing::AddPathBox(double left, double top, double width, double height) {
  if (!IsOpen() || !InPathRange(left) || !InPathRange(top) || !InPathRange(width) || !InPathRange(height)) {
    return false;
  }
  cairo_rectangle(context_, left, top, width, height);
  return true;
}

bool VectorDrawing::AddPathSegments(std::string_view segments) {
  if (!IsOpen()) return false;
  std::optional<PathPoint> cursor;
  if (cairo_has_current_point(context_)) {
    PathPoint point;
    cairo_get_current_point(context_, &point.x, &point.y);
    cursor = point;
  }
  const std::optional<std::vector<PathStep>> steps = ParsePathSegments(segments, cursor);
  if (!steps) return false;
  for (const PathStep& step : *steps) {
    switch (step.kind) {
      case PathStepKind::kMoveTo:
        cairo_move_to(context_, step.point.x, step.point.y);
        break;
      case PathStepKind::kLineTo:
        cairo_line_to(context_, step.point.x, step.point.y);
        break;
      case PathStepKind::kClose:
        cairo_close_path(context_);
        break;
    }
  }
  return cairo_status(context_) == CAIRO_STATUS_SUCCESS;
}

bool VectorDrawing::FillPath() {
  if (!IsOpen()) return false;
  cairo_set_fill_rule(context_, CAIRO_FILL_RULE_WINDING);
  cairo_fill(context_);
  return cairo_status(context_) == CAIRO_STATUS_SUCCESS;
}

bool VectorDrawing::FillOutput() {
  if (!IsOpen()) return false;
  cairo_paint(context_);
  return cairo_status(context_) == CAIRO_STATUS_SUCCESS;
}

bool VectorDrawing::MovePathCursor(double x, double y) {
  if (!IsOpen() || !InPathRange(x) || !InPathRange(y)) return false;
  cairo_move_to(context_, x, y);
  return true;
}

}  // namespace lumivane
