#pragma once
// Each file's library part in a worker process: decoders and encoders run on untrusted content, and a crash, an
// abort or a hang there must fail only that file, never the batch. The calling thread keeps the naming, the
// writing and the counters, so the outcome is the same as converting in-process.
#include <chrono>
#include <cstddef>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "platform/worker_process.h"
#include "settings/conversion_records.h"

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
  int libraryThreads = 0;  // OpenMP threads a file's decoding may use (LimitLibraryThreads); 0: the library's own
};

// The options above, from the environment.
IsolationOptions IsolationOptionsFromEnvironment();

// Runs ConvertImageContent for one file after the other in a worker process of its own (a fresh process of this
// program; see worker_process.h), started at the first file and again after any file that failed: a file that made
// a library fail may have left its memory damaged without crashing it, and no later file may pay for that. One per
// thread that converts files.
class ContentWorker {
 public:
  // plan and watermarkFont must outlive the worker and stay as they are; each file brings its own numbering.
  // watermarkFont, when given, is the font LoadWatermarkFont makes of the plan's settings: a worker process makes
  // the same font itself, in-process it is used as it is.
  ContentWorker(const BatchPlan& plan, const DrawingFont* watermarkFont, IsolationOptions options);

  // ConvertImageContent for file. A worker that died or left no complete result fails the file with kWorkerCrashed
  // ("worker crashed"), one past its time limit is killed and fails it with kWorkerTimedOut ("worker timed out"),
  // a worker the system refuses fails it with kWorkerCrashed ("worker could not be started"), and a stop signal
  // kills the worker and fails the file with kInterrupted.
  ConvertedFile Convert(const FileToConvert& file);

  // Starts the worker process now, without waiting for it (true in-process); then WaitUntilReady.
  bool Launch();
  bool WaitUntilReady();

  // How many worker processes were started so far (0 in-process).
  int WorkersStarted() const { return process_.startCount(); }

 private:
  const BatchPlan& plan_;
  const DrawingFont* watermarkFont_;
  IsolationOptions options_;
  WorkerProcess process_;
};

// The content workers of a run's converting threads: each thread converts its files in a worker of its own. The
// workers start together when the pool is made, so that their start-up overlaps; a worker replaced after a failed
// file is started by its converting thread. A worker process is killed when the thread that started it ends (see
// worker_process.h), so the pool must be made, and kept until the threads are done, on a thread that outlives
// them; a worker never passes from one converting thread to another.
class ContentWorkerPool {
 public:
  // Starts up to `threads` workers (at least one), as many as the system gives and the descriptor limit leaves
  // room for. When not even one can be had, the pool converts in this process, one file at a time, with the
  // decoder on one thread (a system that refuses processes may refuse threads too).
  ContentWorkerPool(const BatchPlan& plan, const DrawingFont* watermarkFont, IsolationOptions options,
                    std::size_t threads);

  // How many threads may convert at once: the workers that became ready (1 in-process).
  std::size_t Size() const { return workers_.size(); }
  // Files are converted in this process: asked for (kInProcessVariable), or no worker process could be had.
  bool InProcess() const { return options_.inProcess; }

  // ContentWorker::Convert on the calling thread's worker: the one it took first, or a free one.
  ConvertedFile Convert(const FileToConvert& file);

  // Worker processes started so far by all workers.
  int WorkersStarted() const;

 private:
  ContentWorker& WorkerOfThisThread();

  const BatchPlan& plan_;
  const DrawingFont* watermarkFont_;
  IsolationOptions options_;
  mutable std::mutex lock_;
  std::vector<std::unique_ptr<ContentWorker>> workers_;
  std::vector<std::thread::id> owners_;  // the thread each worker serves; a default id when it is free
  int abandonedStarts_ = 0;              // starts of workers that never became ready
};

}  // namespace lumivane
