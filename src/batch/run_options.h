#pragma once
// How the conversion pass runs, as asked for on the command line only ("--jobs", "--progress", "--report",
// "--skip-existing", "--dry-run", "--shard"); a profile cannot set them. They choose which files a run converts and
// how fast and how visibly, never what a converted file holds.
#include <cstdint>
#include <string>

namespace lumivane {

inline constexpr std::int32_t kMostJobs = 1024;      // larger "--jobs" values are refused
inline constexpr std::int32_t kMostShards = 100000;  // larger N of "--shard=K/N" are refused

struct RunOptions {
  std::int32_t jobs{1};        // files converted at once; 0: one per processor core
  bool jobsGiven{false};       // "--jobs" was on the line: the debug listing shows the "Jobs: " line
  bool progress{false};        // "--progress": a progress line on a terminal
  std::string reportFile;      // "--report": JSON lines report, "" for none
  bool skipExisting{false};    // "--skip-existing": a file whose output exists and is up to date is not decoded
  bool dryRun{false};          // "--dry-run": every file is named and listed; nothing but the report is written
  std::int32_t shard{0};       // "--shard=K/N": K, 1..N; this run takes the files whose output hashes to K - 1
  std::int32_t shardCount{0};  // N; 0 without "--shard": every file
};

}  // namespace lumivane
