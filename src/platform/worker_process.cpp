#include "platform/worker_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>

#include "platform/process.h"

namespace lumivane {
namespace {

// Requests and results both travel as an 8-byte size followed by that many bytes. A result file shorter than its
// size says is an incomplete result.
using MessageSize = std::uint64_t;

// Exit statuses of a worker: kWorkerDone when its caller went away, anything else when it gave up.
constexpr int kWorkerDone = 0;
constexpr int kWorkerFailed = 120;

// How often a worker is looked at where the system gives no descriptor for its end.
constexpr std::chrono::milliseconds kPollInterval{20};

bool WriteAllAt(int descriptor, const void* data, std::size_t size, off_t offset) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  while (size > 0) {
    const ssize_t written = ::pwrite(descriptor, bytes, size, offset);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes += written;
    size -= static_cast<std::size_t>(written);
    offset += written;
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

// Stream socket reads and writes that go on after interruptions and short transfers; never raise SIGPIPE.
bool SendAll(int socket, const void* data, std::size_t size) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  while (size > 0) {
    const ssize_t sent = ::send(socket, bytes, size, MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) continue;
    if (sent <= 0) return false;
    bytes += sent;
    size -= static_cast<std::size_t>(sent);
  }
  return true;
}

bool ReceiveAll(int socket, void* data, std::size_t size) {
  auto* bytes = static_cast<unsigned char*>(data);
  while (size > 0) {
    const ssize_t got = ::recv(socket, bytes, size, 0);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    bytes += got;
    size -= static_cast<std::size_t>(got);
  }
  return true;
}

void PointAtNothing(int descriptor) {
  const int nothing = ::open("/dev/null", O_WRONLY);
  if (nothing < 0) return;
  ::dup2(nothing, descriptor);
  ::close(nothing);
}

// In the worker: no console output, no core file per bad input, and no life beyond the caller.
void PrepareWorker(pid_t parent) {
  const rlimit noCore{0, 0};
  ::setrlimit(RLIMIT_CORE, &noCore);
  PointAtNothing(STDOUT_FILENO);
  SilenceStandardError();
  ::prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (::getppid() != parent) ::_exit(kWorkerFailed);
}

// The worker's loop: a request in, its result into the memory file, one byte back; until the caller goes away.
[[noreturn]] void ServeRequests(const WorkerTask& task, int channel, int resultDescriptor, pid_t parent) {
  PrepareWorker(parent);
  for (;;) {
    MessageSize size = 0;
    if (!ReceiveAll(channel, &size, sizeof size)) ::_exit(kWorkerDone);
    if (size > kLargestWorkerRequest) ::_exit(kWorkerFailed);
    std::vector<unsigned char> request(static_cast<std::size_t>(size));
    if (!ReceiveAll(channel, request.data(), request.size())) ::_exit(kWorkerFailed);
    std::vector<unsigned char> result;
    try {
      result = task(request);
    } catch (...) {
      ::_exit(kWorkerFailed);  // an exception (for example no memory) leaves no result
    }
    const MessageSize resultSize = result.size();
    if (::ftruncate(resultDescriptor, 0) != 0 || !WriteAllAt(resultDescriptor, &resultSize, sizeof resultSize, 0) ||
        !WriteAllAt(resultDescriptor, result.data(), result.size(), sizeof resultSize)) {
      ::_exit(kWorkerFailed);
    }
    const unsigned char done = 1;
    if (!SendAll(channel, &done, 1)) ::_exit(kWorkerDone);
  }
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

// True once the process has ended; it is left for the caller to reap.
bool HasEnded(pid_t pid) {
  siginfo_t info{};
  return ::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0 || info.si_pid == pid;
}

int MillisecondsUntil(std::chrono::steady_clock::time_point deadline) {
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
  return static_cast<int>(std::clamp<std::chrono::milliseconds::rep>(left.count(), 0, INT_MAX));
}

// The payload of a complete result file, or nothing.
bool ReadResult(int descriptor, std::vector<unsigned char>& bytes) {
  struct stat info {};
  if (::fstat(descriptor, &info) != 0 || info.st_size < static_cast<off_t>(sizeof(MessageSize))) return false;
  MessageSize size = 0;
  if (!ReadAllAt(descriptor, &size, sizeof size, 0)) return false;
  if (size != static_cast<MessageSize>(info.st_size) - sizeof size) return false;
  bytes.resize(static_cast<std::size_t>(size));
  return ReadAllAt(descriptor, bytes.data(), bytes.size(), sizeof size);
}

void CloseIfOpen(int& descriptor) {
  if (descriptor >= 0) ::close(descriptor);
  descriptor = -1;
}

}  // namespace

WorkerProcess::WorkerProcess(WorkerTask task) : task_(std::move(task)) {}

WorkerProcess::~WorkerProcess() { Stop(); }

bool WorkerProcess::Start() {
  int channels[2] = {-1, -1};
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, channels) != 0) return false;
  const int resultDescriptor = ::memfd_create("lumivane-result", MFD_CLOEXEC);
  if (resultDescriptor < 0) {
    ::close(channels[0]);
    ::close(channels[1]);
    return false;
  }
  const pid_t parent = ::getpid();
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(channels[0]);
    ServeRequests(task_, channels[1], resultDescriptor, parent);
  }
  ::close(channels[1]);
  if (pid < 0) {
    ::close(channels[0]);
    ::close(resultDescriptor);
    return false;
  }
  pid_ = pid;
  channel_ = channels[0];
  resultDescriptor_ = resultDescriptor;
  exitDescriptor_ = OpenExitDescriptor(pid);
  ++startCount_;
  return true;
}

void WorkerProcess::Stop() {
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) continue;
  }
  pid_ = -1;
  CloseIfOpen(exitDescriptor_);
  CloseIfOpen(channel_);
  CloseIfOpen(resultDescriptor_);
}

bool WorkerProcess::Send(std::span<const unsigned char> request) {
  const MessageSize size = request.size();
  return SendAll(channel_, &size, sizeof size) && SendAll(channel_, request.data(), request.size());
}

WorkerResult WorkerProcess::Run(std::span<const unsigned char> request, std::chrono::milliseconds timeLimit) {
  WorkerResult result;
  const auto deadline = std::chrono::steady_clock::now() + timeLimit;
  if (request.size() > kLargestWorkerRequest) {
    result.outcome = WorkerOutcome::kNotStarted;
    return result;
  }
  // A worker that went away while idle (killed from outside, say) is replaced once before the request counts as
  // failed.
  bool sent = pid_ > 0 && Send(request);
  if (!sent) {
    Stop();
    if (!Start()) {
      result.outcome = WorkerOutcome::kNotStarted;
      return result;
    }
    sent = Send(request);
  }
  while (sent) {
    pollfd watch[2] = {{channel_, POLLIN, 0}, {exitDescriptor_, POLLIN, 0}};
    const bool watchExit = exitDescriptor_ >= 0;
    int wait = MillisecondsUntil(deadline);
    if (!watchExit) wait = std::min(wait, static_cast<int>(kPollInterval.count()));
    const int ready = ::poll(watch, watchExit ? 2 : 1, wait);
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0) break;
    // The answer first: a worker may end right after it has answered (and the result is then whole).
    if (watch[0].revents != 0) {
      unsigned char done = 0;
      if (ReceiveAll(channel_, &done, 1) && ReadResult(resultDescriptor_, result.bytes)) {
        if (::ftruncate(resultDescriptor_, 0) != 0) Stop();  // the memory file keeps no copy of the result
        result.outcome = WorkerOutcome::kCompleted;
        return result;
      }
      break;
    }
    if (watchExit ? watch[1].revents != 0 : HasEnded(pid_)) break;
    if (std::chrono::steady_clock::now() >= deadline) {
      Stop();
      result.outcome = WorkerOutcome::kTimedOut;
      return result;
    }
  }
  Stop();
  result.bytes.clear();
  result.outcome = WorkerOutcome::kCrashed;
  return result;
}

}  // namespace lumivane
