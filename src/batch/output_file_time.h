#pragma once
// The modification time of a written output file, by the file timestamp setting.
#include <cstdint>
#include <ctime>
#include <string>

#include "settings/settings.h"

namespace lumivane {

// The moment a local wall-clock value names (mktime of its broken-down form); the inverse of
// LocalWallClockSeconds (settings/local_time.h).
std::time_t MomentOfLocalWallClock(std::int64_t localSeconds);

// Applies the file timestamp setting to outputPath. Only the modification time changes, in whole seconds; the
// access time is left alone. An input whose time cannot be read counts as 1970-01-01 00:00:00 local time.
// False when the output's time could not be set (the caller ignores it; nothing is reported).
bool SetOutputFileTime(const Settings& settings, const std::string& outputPath, const std::string& inputPath);

// Whether outputPath is a regular file that a conversion of inputPath with these settings would leave as it is,
// by its time in whole seconds: with the time of the conversion (current), not older than the input; with the
// input's time (original), that time; with a custom time, any time (it exists).
bool OutputIsUpToDate(const Settings& settings, const std::string& outputPath, const std::string& inputPath);

}  // namespace lumivane
