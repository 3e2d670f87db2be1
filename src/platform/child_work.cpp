#include "platform/child_work.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <thread>

#include "platform/process.h"

namespace lumivane {
namespace {

// A child's result: the payload size as 8 bytes, then the payload. A shorter file is an incomplete result.
using ResultSize = std::uint64_t;

// Exit statuses of the child itself; anything but kChildDone means that no complete result was written.
constexpr int kChildDone = 0;
constexpr int kChildFailed = 120;

// How often a child without an exit descriptor is looked at.
constexpr std::chrono::milliseconds kPollInterval{2};

bool WriteAll(int descriptor, const void* data, std::size_t size) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  while (size > 0) {
    const ssize_t written = ::write(descriptor, bytes, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

bool ReadAllAt(int descriptor, void* data, std::size_t size, off_t offset) {
  auto* bytes = static_cast<unsigned char*>(data);
  while (size > 0) {
    const ssize_t got = ::pread(descriptor, bytes, size, offset);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    bytes += got;
    size -= static_cast<std::size_t>(got);
    offset += got;
  }
  return true;
}

void PointAtNothing(int descriptor) {
  const int nothing = ::open("/dev/null", O_WRONLY);
  if (nothing < 0) return;
  ::dup2(nothing, descriptor);
  ::close(nothing);
}

// In the child: no console output, no core file per bad input, and no life beyond the thread that started it.
void PrepareChild(pid_t parent) {
  const rlimit noCore{0, 0};
  ::setrlimit(RLIMIT_CORE, &noCore);
  PointAtNothing(STDOUT_FILENO);
  SilenceStandardError();
  ::prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (::getppid() != parent) ::_exit(kChildFailed);
}

[[noreturn]] void RunChild(const ChildTask& task, int resultDescriptor, pid_t parent) {
  PrepareChild(parent);
  int status = kChildFailed;
  try {
    const std::vector<unsigned char> result = task();
    const ResultSize size = result.size();
    if (WriteAll(resultDescriptor, &size, sizeof size) && WriteAll(resultDescriptor, result.data(), result.size())) {
      status = kChildDone;
    }
  } catch (...) {
    status = kChildFailed;  // an exception (for example no memory) leaves the result incomplete
  }
  ::_exit(status);
}

// A descriptor that polls readable once the process has ended, or -1 where the system has none.
int OpenExitDescriptor(pid_t pid) {
#ifdef SYS_pidfd_open
  const long descriptor = ::syscall(SYS_pidfd_open, pid, 0);
  if (descriptor >= 0) {
    ::fcntl(static_cast<int>(descriptor), F_SETFD, FD_CLOEXEC);
    return static_cast<int>(descriptor);
  }
#else
  (void)pid;
#endif
  return -1;
}

int MillisecondsUntil(std::chrono::steady_clock::time_point deadline) {
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
  return static_cast<int>(std::clamp<std::chrono::milliseconds::rep>(left.count(), 0, INT_MAX));
}

// True when the child ended before the deadline; the caller then reaps it.
bool AwaitExit(pid_t pid, int exitDescriptor, std::chrono::steady_clock::time_point deadline, int& status) {
  for (;;) {
    if (exitDescriptor >= 0) {
      pollfd watch{exitDescriptor, POLLIN, 0};
      const int ready = ::poll(&watch, 1, MillisecondsUntil(deadline));
      if (ready < 0 && errno == EINTR) continue;
      if (ready == 0) return false;
      // Ended (or the descriptor failed): the blocking wait below settles it.
      while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) continue;
      return true;
    }
    const pid_t ended = ::waitpid(pid, &status, WNOHANG);
    if (ended == pid) return true;
    if (ended < 0 && errno != EINTR) return true;  // not our child any more: nothing to collect
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(kPollInterval);
  }
}

void KillAndReap(pid_t pid) {
  ::kill(pid, SIGKILL);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) continue;
}

// The payload of a complete result file, or nothing.
bool ReadResult(int descriptor, std::vector<unsigned char>& bytes) {
  struct stat info {};
  if (::fstat(descriptor, &info) != 0 || info.st_size < static_cast<off_t>(sizeof(ResultSize))) return false;
  ResultSize size = 0;
  if (!ReadAllAt(descriptor, &size, sizeof size, 0)) return false;
  if (size != static_cast<ResultSize>(info.st_size) - sizeof size) return false;
  bytes.resize(static_cast<std::size_t>(size));
  return ReadAllAt(descriptor, bytes.data(), bytes.size(), sizeof size);
}

}  // namespace

ChildWork::ChildWork(pid_t pid, int exitDescriptor, int resultDescriptor,
                     std::chrono::steady_clock::time_point deadline)
    : pid_(pid), exitDescriptor_(exitDescriptor), resultDescriptor_(resultDescriptor), deadline_(deadline) {}

ChildWork::~ChildWork() {
  if (!collected_) KillAndReap(pid_);
  if (exitDescriptor_ >= 0) ::close(exitDescriptor_);
  ::close(resultDescriptor_);
}

std::unique_ptr<ChildWork> StartChildWork(const ChildTask& task, std::chrono::milliseconds timeLimit) {
  const auto deadline = std::chrono::steady_clock::now() + timeLimit;
  const int resultDescriptor = ::memfd_create("lumivane-result", MFD_CLOEXEC);
  if (resultDescriptor < 0) return nullptr;
  const pid_t parent = ::getpid();
  const pid_t pid = ::fork();
  if (pid < 0) {
    ::close(resultDescriptor);
    return nullptr;
  }
  if (pid == 0) RunChild(task, resultDescriptor, parent);
  return std::make_unique<ChildWork>(pid, OpenExitDescriptor(pid), resultDescriptor, deadline);
}

ChildResult CollectChildWork(ChildWork& work) {
  ChildResult result;
  if (work.collected_) return result;
  work.collected_ = true;
  int status = 0;
  if (!AwaitExit(work.pid_, work.exitDescriptor_, work.deadline_, status)) {
    KillAndReap(work.pid_);
    result.outcome = ChildOutcome::kTimedOut;
    return result;
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == kChildDone && ReadResult(work.resultDescriptor_, result.bytes)) {
    result.outcome = ChildOutcome::kCompleted;
  } else {
    result.bytes.clear();
  }
  return result;
}

}  // namespace lumivane
