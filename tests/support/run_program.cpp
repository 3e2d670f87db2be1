#include "support/run_program.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

extern char** environ;

namespace lumivane::testing {

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::string ProgramPath() { return LUMIVANE_BINARY; }
std::string SourceDir() { return LUMIVANE_SOURCE_DIR; }

std::string SamplesDir() {
  const std::filesystem::path samples = std::filesystem::path(LUMIVANE_SOURCE_DIR) / ".." / "shared" / "samples";
  std::error_code ignored;
  if (!std::filesystem::is_directory(samples, ignored)) return "";
  return std::filesystem::weakly_canonical(samples, ignored).string();
}

ProgramResult RunProgramWith(const std::vector<std::string>& arguments, const RunOptions& options) {
  std::vector<std::string> commandLine = options.launcher;
  commandLine.push_back(options.program.empty() ? ProgramPath() : options.program);
  commandLine.insert(commandLine.end(), arguments.begin(), arguments.end());
  return RunCommand(commandLine, options);
}

ProgramResult RunCommand(const std::vector<std::string>& commandLine, const RunOptions& options) {
  ProgramResult result;
  if (commandLine.empty()) return result;
  int outPipe[2], errPipe[2], inPipe[2];
  if (pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0 || pipe2(inPipe, O_CLOEXEC) != 0) return result;

  std::vector<std::string> argStore = commandLine;
  std::vector<char*> argv;
  for (auto& a : argStore) argv.push_back(a.data());
  argv.push_back(nullptr);

  std::vector<std::string> envStore;
  for (char** e = environ; *e != nullptr; ++e) envStore.emplace_back(*e);
  envStore.insert(envStore.end(), options.extraEnvironment.begin(), options.extraEnvironment.end());
  std::vector<char*> envp;
  for (auto& e : envStore) envp.push_back(e.data());
  envp.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, inPipe[0], 0);
  posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
  posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
  if (!options.workingDirectory.empty())
    posix_spawn_file_actions_addchdir_np(&actions, options.workingDirectory.c_str());

  pid_t pid = -1;
  const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(inPipe[0]);
  close(outPipe[1]);
  close(errPipe[1]);
  if (spawned != 0) {
    close(inPipe[1]);
    close(outPipe[0]);
    close(errPipe[0]);
    return result;
  }

  // Feed standard input, then close it so a waiting program sees end of input.
  size_t written = 0;
  while (written < options.standardInput.size()) {
    const ssize_t n = write(inPipe[1], options.standardInput.data() + written, options.standardInput.size() - written);
    if (n <= 0) break;
    written += static_cast<size_t>(n);
  }
  close(inPipe[1]);

  pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
  int open = 2;
  char buffer[65536];
  while (open > 0) {
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        (i == 0 ? result.output : result.errorOutput).append(buffer, static_cast<size_t>(n));
      } else {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      }
    }
  }

  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  result.lines = SplitLines(result.output);
  return result;
}

}  // namespace lumivane::testing
