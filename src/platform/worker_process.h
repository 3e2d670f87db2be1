#pragma once
// A long-lived worker process that runs requests one at a time, so that a crash, an abort or a hang inside the
// work cannot end the caller. The worker is forked once and reused: its allocator and libraries stay warm from one
// request to the next, which a fresh process per request would pay for every time. A worker that dies or runs
// past its time limit is killed and reaped, that request fails, and the next request starts a fresh worker.
#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace lumivane {

enum class WorkerOutcome : std::int8_t {
  kCompleted,   // the work returned and its whole result arrived
  kCrashed,     // the worker died by a signal, exited by itself, or left an incomplete result
  kTimedOut,    // the worker ran past its time limit and was killed
  kNotStarted,  // the system refused a worker process or its channels
};

struct WorkerResult {
  WorkerOutcome outcome = WorkerOutcome::kCrashed;
  std::vector<unsigned char> bytes;  // the work's result; empty unless completed
};

// The work of one request: runs in the worker only, and returns the bytes to hand back. The worker sees the
// caller's memory as it was when the worker was forked, so what the task reads besides its request must not change
// after that (or must travel in the request).
using WorkerTask = std::function<std::vector<unsigned char>(std::span<const unsigned char> request)>;

// Largest request a worker takes; a larger one is refused without reaching it.
inline constexpr std::size_t kLargestWorkerRequest = 1u << 20;

// A worker belongs to the thread that runs it: the system kills a worker when the thread that forked it ends (so
// that no worker outlives its caller, however the caller ends).
class WorkerProcess {
 public:
  explicit WorkerProcess(WorkerTask task);
  // Kills and reaps the worker, if one runs.
  ~WorkerProcess();
  WorkerProcess(const WorkerProcess&) = delete;
  WorkerProcess& operator=(const WorkerProcess&) = delete;

  // Hands request to the worker (forking one first when none runs) and waits for its result, at most timeLimit.
  // A worker writes nothing to standard output or standard error and leaves no core file. The fork must not
  // happen while another thread of the caller holds a lock the task needs (the caller's other threads should be
  // waiting, not working in the same libraries).
  WorkerResult Run(std::span<const unsigned char> request, std::chrono::milliseconds timeLimit);

  // Forks the worker now unless one runs, so that it is forked while the caller's other threads are idle. False
  // when the system refuses it (the next request tries again).
  bool Prepare() { return pid_ > 0 || Start(); }

  // Ends the worker, if one runs; the next request forks a fresh one.
  void End() { Stop(); }

  // The running worker's process id, or -1 when none runs.
  pid_t pid() const { return pid_; }
  // How many worker processes this object has forked so far.
  int startCount() const { return startCount_; }

 private:
  bool Start();
  void Stop();
  bool Send(std::span<const unsigned char> request);

  WorkerTask task_;
  pid_t pid_ = -1;
  int exitDescriptor_ = -1;    // readable once the worker has ended (-1: poll the worker instead)
  int channel_ = -1;           // requests go out, one byte per finished request comes back
  int resultDescriptor_ = -1;  // the memory file the worker writes each result into
  int startCount_ = 0;
};

}  // namespace lumivane
