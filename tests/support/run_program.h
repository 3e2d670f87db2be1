#pragma once
// Runs the built lumivanecmd the way a user or a script does, and captures what it prints.
#include <string>
#include <vector>

namespace lumivane::testing {

struct ProgramResult {
  int exitCode = -1;             // process exit status; -1 when it did not exit normally
  std::string output;            // everything written to standard output
  std::string errorOutput;       // everything written to standard error (must stay empty)
  std::vector<std::string> lines;  // output split at CR LF (a final unterminated piece is kept)
};

struct RunOptions {
  std::string workingDirectory;  // empty: the test's own
  std::string standardInput;     // bytes fed to the program; the pipe is closed afterwards
  std::vector<std::string> extraEnvironment;  // "NAME=value" entries added to the environment
  std::string program;                    // empty: the built lumivanecmd (ProgramPath)
  std::vector<std::string> launcher;      // command and arguments put in front of the program ("setpriv", ...)
};

// Console output split at CR LF; a final unterminated piece is kept.
std::vector<std::string> SplitLines(const std::string& text);

ProgramResult RunProgramWith(const std::vector<std::string>& arguments, const RunOptions& options = {});
// Runs any program the same way: commandLine[0] is looked up in PATH unless it holds a "/".
ProgramResult RunCommand(const std::vector<std::string>& commandLine, const RunOptions& options = {});

// The path of the built lumivanecmd and of the source tree.
std::string ProgramPath();
std::string SourceDir();
// The shared sample folder beside the project, or "" when it is not there.
std::string SamplesDir();

}  // namespace lumivane::testing

namespace lumivane::testing {

// A started lumivanecmd whose standard input stays open until CloseInput, for tests of waiting and of the
// single-instance guard. The process is killed if it is still running when the object goes away.
class RunningProgram {
 public:
  // ownProcessGroup: the program leads a process group of its own, as a shell starts a job, so that a signal can
  // be sent to it and everything it started (a terminal's Ctrl-C does that).
  explicit RunningProgram(const std::vector<std::string>& arguments, bool ownProcessGroup = false);
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  bool started() const { return pid_ > 0; }
  int pid() const { return pid_; }
  // True once the output holds `text`, false when it does not within the time.
  bool WaitForOutput(const std::string& text, int timeoutMilliseconds);
  void WriteInput(const std::string& bytes);
  void CloseInput();
  // True when the program ended within the time; then result() holds its exit code and output.
  bool WaitForExit(int timeoutMilliseconds);
  const ProgramResult& result() const { return result_; }

 private:
  int pid_ = -1;
  int inputFd_ = -1;
  int outputFd_ = -1;
  ProgramResult result_;
};

}  // namespace lumivane::testing
