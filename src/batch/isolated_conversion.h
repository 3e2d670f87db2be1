#pragma once
// One file's conversion with its library part in a worker process of its own: decoders and encoders run on
// untrusted content, and a crash, an abort or a hang there must fail only that file, never the batch. The calling
// thread keeps the naming, the writing and the counters, so the outcome is the same as converting in-process.
#include <chrono>
#include <memory>
#include <vector>

#include "batch/job.h"
#include "batch/protected_inputs.h"
#include "platform/child_work.h"
#include "settings/settings.h"

namespace lumivane {

class DrawingFont;

// A worker that runs longer than this on one file is taken as hung.
inline constexpr std::chrono::milliseconds kWorkerTimeLimit = std::chrono::minutes(10);

// Environment variables for tests and benchmarks only; a normal run sets neither.
// LUMIVANE_IN_PROCESS=1: convert in the calling process, without workers (to measure what isolation costs).
inline constexpr const char* kInProcessVariable = "LUMIVANE_IN_PROCESS";
// LUMIVANE_WORKER_TIME_LIMIT_MS=n: a shorter time limit in milliseconds (a longer one than the default is ignored),
// so that a test of a hanging worker ends soon.
inline constexpr const char* kTimeLimitVariable = "LUMIVANE_WORKER_TIME_LIMIT_MS";

struct IsolationOptions {
  bool inProcess = false;
  std::chrono::milliseconds timeLimit = kWorkerTimeLimit;
};

// The options above, from the environment.
IsolationOptions IsolationOptionsFromEnvironment();

// A file's library part running in a worker; obtained from StartImageContent, given to CollectImageContent.
using PendingContent = std::unique_ptr<ChildWork>;

// Starts ConvertImageContent for file in a worker and returns at once; several may be in flight. Null when the
// system refuses a worker.
PendingContent StartImageContent(const Settings& settings, const JobRecord& job, const FileConversion& file,
                                 const DrawingFont* watermarkFont, std::chrono::milliseconds timeLimit);

// Waits for the worker and takes over its result: the fields ConvertImageContent fills in file, and the encoded
// output in `encoded`. A worker that died or left no complete result fails the file with kWorkerCrashed ("worker
// crashed"), one past its time limit is killed and fails it with kWorkerTimedOut ("worker timed out").
bool CollectImageContent(ChildWork& pending, FileConversion& file, std::vector<unsigned char>& encoded);

// ConvertImageFile with the library part in a worker (or in-process when options say so), then CommitImageFile
// here. A file for which the system refuses a worker fails ("worker could not be started").
//
// Decoding must never run in this process before workers are forked: LibRaw decodes with OpenMP threads, and a
// child forked after they started finds the thread pool recorded but its threads gone, and waits for ever (until
// its time limit). So the in-process switch is all or nothing for a run.
bool ConvertImageFileIsolated(const Settings& settings, const JobRecord& job, const ProtectedInputs& inputs,
                              FileConversion& file, const DrawingFont* watermarkFont, const IsolationOptions& options);

}  // namespace lumivane
