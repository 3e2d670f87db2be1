#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>

#include "support/run_program.h"

extern char** environ;

namespace lumivane::testing {

namespace {

long long NowMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

}  // namespace

RunningProgram::RunningProgram(const std::vector<std::string>& arguments, bool ownProcessGroup) {
  int inPipe[2], outPipe[2];
  if (pipe2(inPipe, O_CLOEXEC) != 0) return;
  if (pipe2(outPipe, O_CLOEXEC) != 0) {
    close(inPipe[0]);
    close(inPipe[1]);
    return;
  }
  std::vector<std::string> argStore{ProgramPath()};
  argStore.insert(argStore.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (auto& a : argStore) argv.push_back(a.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, inPipe[0], 0);
  posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
  posix_spawn_file_actions_adddup2(&actions, outPipe[1], 2);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  if (ownProcessGroup) {
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  }
  pid_t pid = -1;
  if (posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), environ) == 0) pid_ = pid;
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  close(inPipe[0]);
  close(outPipe[1]);
  inputFd_ = inPipe[1];
  outputFd_ = outPipe[0];
}

RunningProgram::~RunningProgram() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  CloseInput();
  if (outputFd_ >= 0) close(outputFd_);
}

void RunningProgram::WriteInput(const std::string& bytes) {
  if (inputFd_ >= 0 && !bytes.empty()) (void)!write(inputFd_, bytes.data(), bytes.size());
}

void RunningProgram::CloseInput() {
  if (inputFd_ >= 0) close(inputFd_);
  inputFd_ = -1;
}

bool RunningProgram::WaitForOutput(const std::string& text, int timeoutMilliseconds) {
  const long long deadline = NowMilliseconds() + timeoutMilliseconds;
  char buffer[4096];
  while (result_.output.find(text) == std::string::npos) {
    const long long left = deadline - NowMilliseconds();
    pollfd watch{outputFd_, POLLIN, 0};
    if (left <= 0 || poll(&watch, 1, static_cast<int>(left)) <= 0) return false;
    const ssize_t n = read(outputFd_, buffer, sizeof buffer);
    if (n <= 0) return false;
    result_.output.append(buffer, static_cast<size_t>(n));
  }
  return true;
}

bool RunningProgram::WaitForExit(int timeoutMilliseconds) {
  if (pid_ <= 0) return false;
  const long long deadline = NowMilliseconds() + timeoutMilliseconds;
  int status = 0;
  while (true) {
    const pid_t done = waitpid(pid_, &status, WNOHANG);
    if (done == pid_) break;
    if (NowMilliseconds() >= deadline) return false;
    usleep(10000);
  }
  pid_ = -1;
  result_.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  char buffer[65536];
  ssize_t n;
  while ((n = read(outputFd_, buffer, sizeof buffer)) > 0) result_.output.append(buffer, static_cast<size_t>(n));
  size_t start = 0;
  while (start < result_.output.size()) {
    const size_t end = result_.output.find("\r\n", start);
    if (end == std::string::npos) {
      result_.lines.push_back(result_.output.substr(start));
      break;
    }
    result_.lines.push_back(result_.output.substr(start, end - start));
    start = end + 2;
  }
  return true;
}

}  // namespace lumivane::testing
