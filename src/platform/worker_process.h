#pragma once
// A long-lived worker process that runs requests one at a time, so that a crash, an abort or a hang inside the
// work cannot end the caller. A worker is a fresh process of a program of ours (the running program by default),
// started with posix_spawn, never a fork of this one: this process has other threads at work and libraries (fonts,
// the drawing layer, OpenMP) whose state a forked copy could find half-changed. The worker sets its libraries up
// itself from the greeting, the first message it receives, and then serves requests (worker_mode.h); nothing but
// its channel crosses from this process. It stays for the next request, so its start is paid once; a worker that
// dies or runs past its time limit is killed and reaped, that request fails, and the next request starts a fresh
// worker.
#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/worker_channel.h"

namespace lumivane {

enum class WorkerOutcome : std::int8_t {
  kCompleted,    // the work returned and its whole result arrived
  kCrashed,      // the worker died by a signal, exited by itself, or left an incomplete result
  kTimedOut,     // the worker ran past its time limit and was killed
  kNotStarted,   // the system refused a worker process or its channel, or it never became ready
  kInterrupted,  // a stop signal arrived (stop_signals.h); the worker was killed
};

struct WorkerResult {
  WorkerOutcome outcome = WorkerOutcome::kCrashed;
  std::vector<unsigned char> bytes;  // the work's result; empty unless completed
};

// The running program, whatever has become of its file since it started.
inline constexpr const char* kRunningProgram = "/proc/self/exe";

// A fresh worker that is not ready for requests within this time is taken as broken.
inline constexpr std::chrono::milliseconds kWorkerStartLimit = std::chrono::minutes(1);

// A worker belongs to the thread that runs it: the system kills a worker when the thread that started it ends (so
// that no worker outlives its caller, however the caller ends).
class WorkerProcess {
 public:
  // greeting: what every fresh worker receives before its first request. program: the executable to start.
  explicit WorkerProcess(std::vector<unsigned char> greeting, std::string program = kRunningProgram);
  // Kills and reaps the worker, if one runs.
  ~WorkerProcess();
  WorkerProcess(const WorkerProcess&) = delete;
  WorkerProcess& operator=(const WorkerProcess&) = delete;

  // Hands request to the worker (starting one first when none runs) and waits for its result, at most timeLimit
  // (a fresh worker's start is not counted). A stop signal ends the wait at once.
  WorkerResult Run(std::span<const unsigned char> request, std::chrono::milliseconds timeLimit);

  // Starts the worker now unless one runs, without waiting for it to be ready; then WaitUntilReady. Several
  // workers can so start at the same time. False when the system refuses the process or its channel.
  bool Launch();
  // Waits until a launched worker is ready for requests; false (and the worker gone) when it died, did not
  // become ready within kWorkerStartLimit, or a stop signal arrived.
  bool WaitUntilReady();

  // Ends the worker, if one runs; the next request starts a fresh one.
  void End() { Stop(); }

  // The running worker's process id, or -1 when none runs.
  pid_t pid() const { return pid_; }
  // How many worker processes this object has started so far.
  int startCount() const { return startCount_; }

 private:
  enum class Wait : std::int8_t { kMessage, kEnded, kTimedOut, kStopped };
  Wait WaitForMessage(std::chrono::steady_clock::time_point deadline, std::vector<unsigned char>& message);
  bool Start();
  void Stop();

  std::vector<unsigned char> greeting_;
  std::string program_;
  pid_t pid_ = -1;
  int exitDescriptor_ = -1;  // readable once the worker has ended (-1: poll the worker instead)
  int channel_ = -1;         // requests and the greeting go out, the ready message and results come back
  bool ready_ = false;
  int startCount_ = 0;
};

// How many more workers the open-descriptor limit leaves room for, keeping a reserve for the files the main
// process writes; `wanted` when the limit cannot be read.
std::size_t WorkersTheDescriptorsAllow(std::size_t wanted);

}  // namespace lumivane
