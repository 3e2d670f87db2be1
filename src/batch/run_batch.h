#pragma once
// The whole of a command-line conversion run after the command line has filled the settings and the job.

namespace lumivane {

enum class BatchOutcome {
  kAllConverted,     // every collected file was converted
  kSomeFailed,       // files were collected and at least one of them failed
  kNothingCollected, // "Conversion stopped": no input file found
  kInvalidSettings,  // an "Error: " line ended the run before any file was touched
};

// Validates, lists (debug), collects and converts, printing the status lines; works on gSettings, gJob,
// gProgress and gCollectedFiles.
BatchOutcome RunBatch(bool quiet);

}  // namespace lumivane
