#pragma once
// The whole of a command-line conversion run after the command line has filled the settings and the job.
#include <string>

namespace lumivane {

enum class BatchOutcome {
  kAllConverted,      // every collected file was converted
  kSomeFailed,        // files were collected and at least one of them failed
  kNothingCollected,  // "Conversion stopped": no input file found
  kInvalidSettings,   // a check failed before any file was touched
  kInterrupted,       // a stop signal ended the run (stop_signals.h); "Conversion stopped"
};

struct BatchResult {
  BatchOutcome outcome = BatchOutcome::kAllConverted;
  std::string error;  // with kInvalidSettings: the message of the "Error: " line the caller prints
};

// Validates, lists (debug), collects and converts, printing the status lines; works on gSettings, gJob,
// gProgress and gCollectedFiles.
BatchResult RunBatch(bool quiet);

}  // namespace lumivane
