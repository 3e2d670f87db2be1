#pragma once
// The command-line driver: help and version, the scan of the parameters, and the three endings of a run.
#include <optional>
#include <string>

#include "batch/job.h"
#include "cli/parameters.h"
#include "settings/messages.h"
#include "settings/settings.h"

namespace lumivane {

// Commands recognised only as the first parameter.
enum class FirstCommand { kNone, kUninstall, kTestRender, kVersion, kHelp };
FirstCommand FirstParameterCommand(const Parameters& parameters);

// What the scan of the parameters leaves besides the settings and the job.
struct CommandLineScan {
  std::optional<Message> error;  // the error that ended the scan; none when the line was well formed
  bool quiet = false;            // "-q": no banner and no status lines
  bool pause = false;            // "-p" (before any error): wait for a key at the end
};

// Reads the parameters left to right: -i/-o/-c into the job, advanced options and profiles into the settings
// (last writer wins), -d/-q/-p into the job and the scan, the options of how the batch runs (--jobs, --shard, ...)
// into the job's run options. The first malformed value ends the scan: a missing value is "Incorrect number of
// parameters", a "--jobs" or "--shard" value outside its row's bounds "Invalid jobs value" or "Invalid shard value".
CommandLineScan ScanParameters(const Parameters& parameters, Settings& settings, JobRecord& job);

// The whole command-line run on the process-wide records; returns the process exit code.
int RunCommandLine(const Parameters& parameters);

}  // namespace lumivane
