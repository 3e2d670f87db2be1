#include "platform/process.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#if LUMIVANE_SANITIZED_BUILD
#include <sanitizer/common_interface_defs.h>
#endif

namespace lumivane::testing {
namespace {

TEST(ProgramPathParts, FolderAndBaseName) {
  const struct {
    const char* path;
    const char* folder;
    const char* baseName;
  } cases[] = {
      {"/usr/bin/lumivanecmd", "/usr/bin/", "lumivanecmd"},
      {"/opt/tools/lumivanecmd.exe", "/opt/tools/", "lumivanecmd"},
      {"/a.b/prog", "/a.b/", "prog"},
      {"/a/archive.tar.gz", "/a/", "archive.tar"},
      {"/a/.hidden", "/a/", ".hidden"},
      {"/prog", "/", "prog"},
      {"prog.bin", "", "prog"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FolderOfPath(c.path), c.folder) << c.path;
    EXPECT_EQ(BaseNameOfPath(c.path), c.baseName) << c.path;
  }
}

TEST(ProgramPath, NamesThisTestProgram) {
  const std::string path = lumivane::ProgramPath();
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(path.front(), '/');
  EXPECT_TRUE(std::filesystem::is_regular_file(path)) << path;
  EXPECT_EQ(ProgramBaseName(), "unit_tests");  // the name the build gives this executable
  const std::string folder = ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '/');
  EXPECT_EQ(folder + "unit_tests", path);
}

// A child process that takes the lock, reports whether it got it, and holds it until told to end.
class LockHoldingChild {
 public:
  explicit LockHoldingChild(const std::string& name) {
    int ready[2], release[2];
    if (pipe(ready) != 0 || pipe(release) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      close(ready[0]);
      close(release[1]);
      const char got = SingleInstanceGuard(name) ? 'y' : 'n';
      if (write(ready[1], &got, 1) != 1) _exit(1);
      char ignored;
      (void)!read(release[0], &ignored, 1);  // ends when the parent closes its side
      _exit(0);
    }
    close(ready[1]);
    close(release[0]);
    releaseFd_ = release[1];
    if (pid_ > 0 && read(ready[0], &got_, 1) != 1) got_ = 0;
    close(ready[0]);
  }
  ~LockHoldingChild() { End(); }

  bool GotLock() const { return got_ == 'y'; }
  void End() {
    if (releaseFd_ >= 0) close(releaseFd_);
    releaseFd_ = -1;
    if (pid_ > 0) waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
  int releaseFd_ = -1;
  char got_ = 0;
};

std::string UniqueLockName(const char* what) {
  return std::string("lumivane test lock ") + what + " " + std::to_string(getpid());
}

TEST(SingleInstanceGuard, RefusedWhileAnotherProcessHoldsTheLock) {
  const std::string name = UniqueLockName("other process");
  LockHoldingChild child(name);
  ASSERT_TRUE(child.GotLock());
  EXPECT_FALSE(SingleInstanceGuard(name));
  child.End();  // the kernel releases the lock with the process
  EXPECT_TRUE(SingleInstanceGuard(name));
}

TEST(SingleInstanceGuard, HeldUntilTheProcessEnds) {
  const std::string name = UniqueLockName("same process");
  ASSERT_TRUE(SingleInstanceGuard(name));
  EXPECT_FALSE(SingleInstanceGuard(name));
  LockHoldingChild child(name);
  EXPECT_FALSE(child.GotLock());
  EXPECT_TRUE(SingleInstanceGuard(UniqueLockName("another name")));
}

TEST(SingleInstanceGuard, NameTooLongForALockIsRefused) { EXPECT_FALSE(SingleInstanceGuard(std::string(200, 'x'))); }

// Writes library noise and, in a sanitized build, a sanitizer report (only its summary line) to standard error.
void WriteNoiseAndReport() {
  (void)!write(STDERR_FILENO, "noise", 5);
#if LUMIVANE_SANITIZED_BUILD
  __sanitizer_report_error_summary("SUMMARY: report probe");
#endif
}

// What a forked child writes to standard error after silencing it; with `inGrandchild` the child silences its own
// and then forks the writer, which silences again, as a worker process of the program does.
std::string StandardErrorAfterSilencing(bool inGrandchild) {
  int captured[2];
  if (pipe(captured) != 0) return "pipe failed";
  const pid_t pid = fork();
  if (pid == 0) {
    close(captured[0]);
    dup2(captured[1], STDERR_FILENO);
    close(captured[1]);
    SilenceStandardError();
    if (!inGrandchild) {
      WriteNoiseAndReport();
      _exit(0);
    }
    const pid_t worker = fork();
    if (worker == 0) {
      SilenceStandardError();
      WriteNoiseAndReport();
      _exit(0);
    }
    waitpid(worker, nullptr, 0);
    _exit(0);
  }
  close(captured[1]);
  std::string seen;
  char buffer[64];
  for (ssize_t got; (got = read(captured[0], buffer, sizeof buffer)) > 0;)
    seen.append(buffer, static_cast<size_t>(got));
  close(captured[0]);
  waitpid(pid, nullptr, 0);
  return seen;
}

TEST(SilenceStandardError, DropsLibraryOutputAndKeepsSanitizerReports) {
  const std::string expected = kSanitizedBuild ? "SUMMARY: report probe\n" : "";
  EXPECT_EQ(StandardErrorAfterSilencing(/*inGrandchild=*/false), expected);
  EXPECT_EQ(StandardErrorAfterSilencing(/*inGrandchild=*/true), expected);
}

}  // namespace
}  // namespace lumivane::testing
