#include "platform/worker_process.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <new>

#include "platform/process.h"
#include "platform/stop_signals.h"

extern char** environ;

namespace lumivane {
namespace {

// How often a worker is looked at where the system gives no descriptor for its end.
constexpr std::chrono::milliseconds kPollInterval{20};

// Descriptors the main process keeps per worker (its end of the channel and the worker's exit descriptor), and
// the reserve left for a worker that is starting (the worker's end of the channel) and the files the main
// process opens itself while it commits (an output, an input's signature).
constexpr std::size_t kDescriptorsPerWorker = 2;
constexpr std::size_t kDescriptorsKeptFree = 4;

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

void CloseIfOpen(int& descriptor) {
  if (descriptor >= 0) ::close(descriptor);
  descriptor = -1;
}

// Starts program with nothing but /dev/null on 0 and 1, /dev/null (or a sanitized build's report copy) on 2 and
// the channel on kWorkerChannelDescriptor; every other descriptor is closed, signals unblocked. -1 on failure.
pid_t SpawnWorker(const std::string& program, int channel) {
  posix_spawn_file_actions_t actions;
  if (::posix_spawn_file_actions_init(&actions) != 0) return -1;
  ::posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  ::posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  const int reports = SanitizerReportDescriptor();
  if (reports >= 0) {
    ::posix_spawn_file_actions_adddup2(&actions, reports, STDERR_FILENO);
  } else {
    ::posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  }
  // dup2 onto itself clears close-on-exec too (glibc 2.29 and later), should the channel already have the number.
  ::posix_spawn_file_actions_adddup2(&actions, channel, kWorkerChannelDescriptor);
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
  // Descriptors that a library opened without close-on-exec must not reach the worker either.
  ::posix_spawn_file_actions_addclosefrom_np(&actions, kWorkerChannelDescriptor + 1);
#endif
  posix_spawnattr_t attributes;
  ::posix_spawnattr_init(&attributes);
  sigset_t none;
  sigemptyset(&none);
  ::posix_spawnattr_setsigmask(&attributes, &none);
  ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);

  std::string name = ProgramBaseName();
  char* arguments[] = {name.data(), nullptr};
  pid_t pid = -1;
  const int failed = ::posix_spawn(&pid, program.c_str(), &actions, &attributes, arguments, environ);
  ::posix_spawnattr_destroy(&attributes);
  ::posix_spawn_file_actions_destroy(&actions);
  return failed == 0 ? pid : -1;
}

// Reads what the channel holds without waiting, into a message that arrives as size, then bytes.
class MessageReader {
 public:
  enum class Progress : std::int8_t { kMore, kWhole, kBroken };

  Progress ReadAvailable(int channel, std::vector<unsigned char>& message) {
    for (;;) {
      unsigned char* target = nullptr;
      std::size_t wanted = 0;
      if (headerGot_ < sizeof size_) {
        target = reinterpret_cast<unsigned char*>(&size_) + headerGot_;
        wanted = sizeof size_ - headerGot_;
      } else {
        if (!sized_ && !Size(message)) return Progress::kBroken;
        if (bodyGot_ == message.size()) return Progress::kWhole;
        target = message.data() + bodyGot_;
        wanted = message.size() - bodyGot_;
      }
      const ssize_t got = ::recv(channel, target, wanted, MSG_DONTWAIT);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return Progress::kMore;
      if (got <= 0) return Progress::kBroken;  // the worker went away before its message was whole
      (headerGot_ < sizeof size_ ? headerGot_ : bodyGot_) += static_cast<std::size_t>(got);
    }
  }

 private:
  bool Size(std::vector<unsigned char>& message) {
    if (size_ > kLargestWorkerResult) return false;
    try {
      message.resize(static_cast<std::size_t>(size_));
    } catch (const std::bad_alloc&) {
      return false;
    }
    sized_ = true;
    return true;
  }

  WorkerMessageSize size_ = 0;
  std::size_t headerGot_ = 0;
  std::size_t bodyGot_ = 0;
  bool sized_ = false;
};

}  // namespace

WorkerProcess::WorkerProcess(std::vector<unsigned char> greeting, std::string program)
    : greeting_(std::move(greeting)), program_(std::move(program)) {}

WorkerProcess::~WorkerProcess() { Stop(); }

bool WorkerProcess::Launch() {
  if (pid_ > 0) return true;
  if (greeting_.size() > kLargestWorkerRequest) return false;
  int channels[2] = {-1, -1};
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, channels) != 0) return false;
  const pid_t pid = SpawnWorker(program_, channels[1]);
  ::close(channels[1]);
  if (pid < 0) {
    ::close(channels[0]);
    return false;
  }
  pid_ = pid;
  channel_ = channels[0];
  exitDescriptor_ = OpenExitDescriptor(pid);
  ready_ = false;
  ++startCount_;
  if (!SendWorkerMessage(channel_, greeting_)) {
    Stop();
    return false;
  }
  return true;
}

bool WorkerProcess::WaitUntilReady() {
  if (pid_ <= 0) return false;
  if (ready_) return true;
  std::vector<unsigned char> ready;
  if (WaitForMessage(std::chrono::steady_clock::now() + kWorkerStartLimit, ready) != Wait::kMessage) {
    Stop();
    return false;
  }
  ready_ = true;
  return true;
}

bool WorkerProcess::Start() { return Launch() && WaitUntilReady(); }

void WorkerProcess::Stop() {
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) continue;
  }
  pid_ = -1;
  ready_ = false;
  CloseIfOpen(exitDescriptor_);
  CloseIfOpen(channel_);
}

WorkerProcess::Wait WorkerProcess::WaitForMessage(std::chrono::steady_clock::time_point deadline,
                                                  std::vector<unsigned char>& message) {
  MessageReader reader;
  for (;;) {
    const int stop = StopDescriptor();
    pollfd watch[3] = {{channel_, POLLIN, 0}, {stop, POLLIN, 0}, {exitDescriptor_, POLLIN, 0}};
    const bool watchExit = exitDescriptor_ >= 0;
    int wait = MillisecondsUntil(deadline);
    if (!watchExit) wait = std::min(wait, static_cast<int>(kPollInterval.count()));
    const int ready = ::poll(watch, watchExit ? 3 : 2, wait);
    if (ready < 0 && errno != EINTR) return Wait::kEnded;
    if (StopRequested()) return Wait::kStopped;
    // The answer first: a worker may end right after it has answered (and the answer is then whole).
    if (ready > 0 && watch[0].revents != 0) {
      switch (reader.ReadAvailable(channel_, message)) {
        case MessageReader::Progress::kWhole: return Wait::kMessage;
        case MessageReader::Progress::kBroken: return Wait::kEnded;
        case MessageReader::Progress::kMore: continue;
      }
    }
    if (watchExit ? ready > 0 && watch[2].revents != 0 : HasEnded(pid_)) return Wait::kEnded;
    if (std::chrono::steady_clock::now() >= deadline) return Wait::kTimedOut;
  }
}

WorkerResult WorkerProcess::Run(std::span<const unsigned char> request, std::chrono::milliseconds timeLimit) {
  WorkerResult result;
  result.outcome = WorkerOutcome::kNotStarted;
  if (request.size() > kLargestWorkerRequest) return result;
  if (StopRequested()) {
    result.outcome = WorkerOutcome::kInterrupted;
    return result;
  }
  // A worker that went away while idle (killed from outside, say) is replaced once before the request counts as
  // failed.
  if (!(pid_ > 0 && WaitUntilReady() && SendWorkerMessage(channel_, request))) {
    Stop();
    if (!Start() || !SendWorkerMessage(channel_, request)) {
      Stop();
      if (StopRequested()) result.outcome = WorkerOutcome::kInterrupted;
      return result;
    }
  }
  switch (WaitForMessage(std::chrono::steady_clock::now() + timeLimit, result.bytes)) {
    case Wait::kMessage: result.outcome = WorkerOutcome::kCompleted; return result;
    case Wait::kEnded: result.outcome = WorkerOutcome::kCrashed; break;
    case Wait::kTimedOut: result.outcome = WorkerOutcome::kTimedOut; break;
    case Wait::kStopped: result.outcome = WorkerOutcome::kInterrupted; break;
  }
  Stop();
  result.bytes.clear();
  return result;
}

std::size_t WorkersTheDescriptorsAllow(std::size_t wanted) {
  rlimit limit{};
  if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return wanted;
  DIR* folder = ::opendir("/proc/self/fd");
  if (folder == nullptr) return wanted;
  std::size_t open = 0;
  while (const dirent* entry = ::readdir(folder)) {
    if (entry->d_name[0] != '.') ++open;  // the listing's own descriptor counts: it stands for one to come
  }
  ::closedir(folder);
  const std::size_t free = limit.rlim_cur > open ? static_cast<std::size_t>(limit.rlim_cur) - open : 0;
  if (free <= kDescriptorsKeptFree) return 0;
  return std::min(wanted, (free - kDescriptorsKeptFree) / kDescriptorsPerWorker);
}

}  // namespace lumivane
