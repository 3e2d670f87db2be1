#include "platform/progress_line.h"

#include <cstdio>

#include "platform/console.h"

namespace lumivane {

namespace {

std::string FormatRate(double filesPerSecond) {
  char text[32];
  std::snprintf(text, sizeof text, filesPerSecond < 10 ? "%.1f" : "%.0f", filesPerSecond);
  return text;
}

}  // namespace

std::string FormatDuration(std::int64_t seconds) {
  if (seconds < 0) seconds = 0;
  char text[48];
  const long long hours = seconds / 3600;
  const int minutes = static_cast<int>(seconds / 60 % 60);
  const int rest = static_cast<int>(seconds % 60);
  if (hours > 0) {
    std::snprintf(text, sizeof text, "%lld:%02d:%02d", hours, minutes, rest);
  } else {
    std::snprintf(text, sizeof text, "%d:%02d", minutes, rest);
  }
  return text;
}

std::string RenderProgressLine(std::int32_t done, std::int32_t total, std::int64_t elapsedMilliseconds) {
  std::string line = std::to_string(done) + "/" + std::to_string(total) + " files";
  if (done <= 0 || elapsedMilliseconds <= 0) return line;
  const double filesPerSecond = done * 1000.0 / static_cast<double>(elapsedMilliseconds);
  const std::int64_t left = total > done ? total - done : 0;
  // Rounded up, so that the line never claims to be done early.
  const std::int64_t secondsLeft = (left * elapsedMilliseconds + done * 1000ll - 1) / (done * 1000ll);
  return line + ", " + FormatRate(filesPerSecond) + " files/s, " + FormatDuration(secondsLeft) + " left";
}

ProgressLine::ProgressLine(bool enabled, std::int32_t total)
    : shown_(enabled), total_(total), start_(std::chrono::steady_clock::now()) {
  if (shown_) ShowStatusLine(RenderProgressLine(0, total_, 0));
}

ProgressLine::~ProgressLine() { Finish(); }

void ProgressLine::FileDone() {
  ++done_;
  if (!shown_) return;
  const auto elapsed = std::chrono::steady_clock::now() - start_;
  ShowStatusLine(RenderProgressLine(done_, total_,
                                    std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count()));
}

void ProgressLine::Finish() {
  if (!shown_) return;
  shown_ = false;
  ShowStatusLine("");
}

}  // namespace lumivane
