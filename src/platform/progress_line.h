#pragma once
// The progress line of a batch ("--progress"): files done of the total, files per second and the time left,
// redrawn in place on a terminal below the other console lines.
#include <chrono>
#include <cstdint>
#include <string>

namespace lumivane {

// "12/340 files, 3.4 files/s, 1:36 left". Before the first file is done, or without measurable time, only
// "0/340 files"; the rate and time left follow once they can be told.
std::string RenderProgressLine(std::int32_t done, std::int32_t total, std::int64_t elapsedMilliseconds);

// "0:07", "12:05", "1:02:03".
std::string FormatDuration(std::int64_t seconds);

// The line of one batch. Shows nothing unless enabled and standard output is a terminal (the console decides the
// latter); erased when finished or destroyed.
class ProgressLine {
 public:
  ProgressLine(bool enabled, std::int32_t total);
  ~ProgressLine();
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  // One more file is done (converted or not): the line is redrawn.
  void FileDone();
  void Finish();

 private:
  bool shown_;
  std::int32_t total_;
  std::int32_t done_ = 0;
  std::chrono::steady_clock::time_point start_;
};

}  // namespace lumivane
