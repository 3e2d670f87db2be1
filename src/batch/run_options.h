#pragma once
// How the conversion pass runs, as asked for on the command line only ("--jobs", "--progress", "--report"); they
// change how fast and how visibly a batch runs, never what it writes.
#include <cstdint>
#include <string>

namespace lumivane {

inline constexpr std::int32_t kMostJobs = 1024;  // larger "--jobs" values are refused

struct RunOptions {
  std::int32_t jobs{1};     // files converted at once; 0: one per processor core
  bool jobsGiven{false};    // "--jobs" was on the line: the debug listing shows the "Jobs: " line
  bool progress{false};     // "--progress": a progress line on a terminal
  std::string reportFile;   // "--report": JSON lines report, "" for none
};

}  // namespace lumivane
