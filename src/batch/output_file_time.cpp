#include "batch/output_file_time.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace lumivane {

namespace {

bool SetModificationTime(const std::string& path, std::time_t moment) {
  timespec times[2]{};
  times[0].tv_nsec = UTIME_OMIT;  // access time stays
  times[1].tv_sec = moment;
  times[1].tv_nsec = 0;
  return ::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

// The input's modification time in whole seconds. Converting it to the local wall clock and back gives the same
// second, except in the hour that repeats when clocks go back, which only the moment itself tells apart: so the
// moment is copied as it is.
std::time_t OriginalMoment(const std::string& inputPath) {
  struct stat status {};
  if (::stat(inputPath.c_str(), &status) != 0) return MomentOfLocalWallClock(0);
  return status.st_mtim.tv_sec;
}

}  // namespace

bool OutputIsUpToDate(const Settings& settings, const std::string& outputPath, const std::string& inputPath) {
  struct stat output {};
  if (::stat(outputPath.c_str(), &output) != 0 || !S_ISREG(output.st_mode)) return false;
  switch (settings.advanced.fileTimestamp) {
    case FileTimestamp::kOriginal: return output.st_mtim.tv_sec == OriginalMoment(inputPath);
    case FileTimestamp::kCustom: return true;
    default: {
      struct stat input {};
      return ::stat(inputPath.c_str(), &input) == 0 && output.st_mtim.tv_sec >= input.st_mtim.tv_sec;
    }
  }
}

std::time_t MomentOfLocalWallClock(std::int64_t localSeconds) {
  const std::time_t wallClock = static_cast<std::time_t>(localSeconds);
  std::tm broken{};
  if (gmtime_r(&wallClock, &broken) == nullptr) return wallClock;
  broken.tm_isdst = -1;  // let the time zone rules decide whether summer time applies
  return std::mktime(&broken);
}

bool SetOutputFileTime(const Settings& settings, const std::string& outputPath, const std::string& inputPath) {
  switch (settings.advanced.fileTimestamp) {
    case FileTimestamp::kOriginal: return SetModificationTime(outputPath, OriginalMoment(inputPath));
    case FileTimestamp::kCustom:
      return SetModificationTime(outputPath, MomentOfLocalWallClock(settings.advanced.customTimestamp));
    default: return true;  // the file keeps the time it was written at
  }
}

}  // namespace lumivane
