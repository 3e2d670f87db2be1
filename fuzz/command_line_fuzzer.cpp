// The scan of the command-line parameters (NUL bytes separate the parameters), profiles included. The current
// folder is a scratch folder holding one profile; parameters holding "/" are not tried, so a profile value can
// only name files there (never a device or a file elsewhere on the disk).
#include <unistd.h>

#include <cstdint>
#include <string>

#include "batch/job.h"
#include "cli/command_line.h"
#include "formats/registry.h"
#include "fuzz_support.h"
#include "same_settings.h"
#include "settings/settings.h"

using namespace lumivane;
using lumivane::fuzzing::Require;
using lumivane::fuzzing::SameSettings;

namespace {

bool SameJob(const JobRecord& a, const JobRecord& b) {
  return a.inputFolder == b.inputFolder && a.outputFolder == b.outputFolder && a.outputFormat == b.outputFormat &&
         a.consoleMode == b.consoleMode && a.debugMarker == b.debugMarker && a.runOptions.jobs == b.runOptions.jobs &&
         a.runOptions.jobsGiven == b.runOptions.jobsGiven && a.runOptions.progress == b.runOptions.progress &&
         a.runOptions.reportFile == b.runOptions.reportFile && a.runOptions.skipExisting == b.runOptions.skipExisting &&
         a.runOptions.dryRun == b.runOptions.dryRun && a.runOptions.shard == b.runOptions.shard &&
         a.runOptions.shardCount == b.runOptions.shardCount;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  BuildRegistry();
  fuzzing::WriteScratchFile("p.ini", "[CLI]\n--jpg-quality=80\n--wm-text=\"%filename%\"\n--greyscale\n");
  Require(chdir(fuzzing::ScratchFolder().c_str()) == 0, "the scratch folder becomes the current folder");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Settings& defaults = fuzzing::CommandLineDefaults();
  const std::string_view text = fuzzing::AsText(data, size);
  if (text.find('/') != std::string_view::npos) return 0;
  Parameters parameters(1);
  for (const char c : text) {
    if (c == '\0') {
      parameters.emplace_back();
    } else {
      parameters.back() += c;
    }
  }

  (void)FirstParameterCommand(parameters);
  Settings settings = defaults;
  JobRecord job;
  const CommandLineScan scan = ScanParameters(parameters, settings, job);
  Require(!scan.error || *scan.error == Message::kIncorrectParameters || *scan.error == Message::kInvalidProfile ||
              *scan.error == Message::kInvalidJobs || *scan.error == Message::kInvalidShard,
          "an error is one of the scan's messages");
  Require(job.runOptions.jobs >= 0 && job.runOptions.jobs <= kMostJobs, "a jobs value stays within its range");
  Require(job.runOptions.shardCount == 0 ||
              (job.runOptions.shard >= 1 && job.runOptions.shard <= job.runOptions.shardCount &&
               job.runOptions.shardCount <= kMostShards),
          "a shard is one of its count, within the bounds");
  Require(job.debugMarker.empty() || job.debugMarker == kDebugMarker, "the debug marker is DEBUG or unset");

  Settings again = defaults;
  JobRecord jobAgain;
  const CommandLineScan scanAgain = ScanParameters(parameters, again, jobAgain);
  Require(scanAgain.error == scan.error && scanAgain.quiet == scan.quiet && scanAgain.pause == scan.pause &&
              SameSettings(again, settings) && SameJob(jobAgain, job),
          "the same parameters scan the same way");
  return 0;
}
