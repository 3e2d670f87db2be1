#pragma once
// Work run in a forked child process, so that a crash, an abort or a hang inside it cannot end the caller: the
// child hands back its result as bytes, and the caller learns whether the work completed, crashed or ran too long.
#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace lumivane {

enum class ChildOutcome : std::int8_t {
  kCompleted,  // the work returned and its whole result arrived
  kCrashed,    // the child died by a signal, exited by itself, or left an incomplete result
  kTimedOut    // the child ran past its time limit and was killed
};

struct ChildResult {
  ChildOutcome outcome = ChildOutcome::kCrashed;
  std::vector<unsigned char> bytes;  // the work's result; empty unless completed
};

// The work of one child: runs in the child only, and returns the bytes to hand back.
using ChildTask = std::function<std::vector<unsigned char>()>;

// One started child. Several may be in flight at once: each has its own result buffer (an anonymous memory file,
// so a finished child never waits for the caller to read) and its own deadline. A handle dropped without
// CollectChildWork kills its child and reaps it.
class ChildWork {
 public:
  ChildWork(pid_t pid, int exitDescriptor, int resultDescriptor, std::chrono::steady_clock::time_point deadline);
  ~ChildWork();
  ChildWork(const ChildWork&) = delete;
  ChildWork& operator=(const ChildWork&) = delete;

  pid_t pid() const { return pid_; }

 private:
  friend ChildResult CollectChildWork(ChildWork& work);
  pid_t pid_;
  int exitDescriptor_;    // a descriptor that becomes readable when the child ends (-1: poll the child instead)
  int resultDescriptor_;  // the memory file the child writes its result into
  std::chrono::steady_clock::time_point deadline_;
  bool collected_ = false;
};

// Forks a child that runs task and ends with _exit, never returning into the caller's code. The child writes
// nothing to standard output or standard error, leaves no core file, and must keep to work that takes no lock
// another thread of the caller might hold at the fork (the caller's other threads should be idle). Null when the
// system refuses a child or its result buffer.
std::unique_ptr<ChildWork> StartChildWork(const ChildTask& task, std::chrono::milliseconds timeLimit);

// Waits until the child has ended, or kills it when its time limit has passed, reaps it, and returns its outcome
// with the bytes of a completed result. A second call on the same handle reports kCrashed.
ChildResult CollectChildWork(ChildWork& work);

}  // namespace lumivane
