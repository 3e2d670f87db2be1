// The status line of the console on a real terminal: standard output is pointed at a pseudo-terminal for the
// duration of a test, and the bytes arriving at its other end are compared.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/console.h"
#include "platform/progress_line.h"

namespace lumivane::testing {
namespace {

// Standard output on a raw pseudo-terminal of the given width while the object lives.
class TerminalOutput {
 public:
  explicit TerminalOutput(unsigned short columns) {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) return;
    const int terminal = ::open(::ptsname(master_), O_RDWR | O_NOCTTY);
    if (terminal < 0) return;
    termios mode{};
    ::tcgetattr(terminal, &mode);
    ::cfmakeraw(&mode);  // the bytes written arrive unchanged
    ::tcsetattr(terminal, TCSANOW, &mode);
    winsize size{};
    size.ws_col = columns;
    size.ws_row = 24;
    ::ioctl(terminal, TIOCSWINSZ, &size);
    std::fflush(stdout);
    savedOutput_ = ::dup(STDOUT_FILENO);
    ::dup2(terminal, STDOUT_FILENO);
    ::close(terminal);
  }
  ~TerminalOutput() {
    Restore();
    if (master_ >= 0) ::close(master_);
  }
  bool ready() const { return savedOutput_ >= 0; }

  void Restore() {
    if (savedOutput_ < 0) return;
    ::dup2(savedOutput_, STDOUT_FILENO);
    ::close(savedOutput_);
    savedOutput_ = -1;
  }
  // Everything that arrived so far.
  std::string Take() {
    std::string bytes;
    char buffer[4096];
    pollfd waiting{master_, POLLIN, 0};
    while (::poll(&waiting, 1, 100) > 0) {
      const ssize_t got = ::read(master_, buffer, sizeof buffer);
      if (got <= 0) break;
      bytes.append(buffer, static_cast<std::size_t>(got));
    }
    return bytes;
  }

 private:
  int master_ = -1;
  int savedOutput_ = -1;
};

TEST(StatusLine, PrintedLinesEraseItAndDrawItAgain) {
  TerminalOutput terminal(80);
  ASSERT_TRUE(terminal.ready());
  ShowStatusLine("1/3 files");
  PrintLine("Processing: a.dng");
  ShowStatusLine("2/3 files");
  ShowStatusLine("");
  PrintLine("Conversion complete");
  ShowStatusLine("");  // nothing shown: nothing to erase
  terminal.Restore();
  EXPECT_EQ(terminal.Take(),
            "\r\x1b[K1/3 files"
            "\r\x1b[KProcessing: a.dng\r\n1/3 files"
            "\r\x1b[K2/3 files"
            "\r\x1b[K"
            "Conversion complete\r\n");
}

TEST(StatusLine, IsCutToTheTerminalsWidthAndShownPrintable) {
  TerminalOutput terminal(10);
  ASSERT_TRUE(terminal.ready());
  ShowStatusLine("12345678\xC3\xA9xyz");  // the tenth column stays free for the cursor
  ShowStatusLine("a\nb");
  ShowStatusLine("");
  terminal.Restore();
  EXPECT_EQ(terminal.Take(), "\r\x1b[K12345678\xC3\xA9\r\x1b[Ka?b\r\x1b[K");
}

TEST(StatusLine, NothingWithoutATerminal) {
  // Standard output of the test runner is a pipe or a file under ctest; on a terminal this case cannot tell.
  if (::isatty(STDOUT_FILENO)) GTEST_SKIP() << "standard output is a terminal";
  int pipeEnds[2];
  ASSERT_EQ(::pipe(pipeEnds), 0);
  std::fflush(stdout);
  const int saved = ::dup(STDOUT_FILENO);
  ::dup2(pipeEnds[1], STDOUT_FILENO);
  ::close(pipeEnds[1]);
  {
    ProgressLine progress(true, 2);
    ShowStatusLine("1/2 files");
    progress.FileDone();
    PrintLine("line");
    progress.FileDone();
  }
  ::dup2(saved, STDOUT_FILENO);
  ::close(saved);
  char buffer[256];
  const ssize_t got = ::read(pipeEnds[0], buffer, sizeof buffer);
  ::close(pipeEnds[0]);
  EXPECT_EQ(std::string(buffer, got > 0 ? static_cast<std::size_t>(got) : 0), "line\r\n");
}

TEST(ProgressLine, CountsFilesOnATerminalAndErasesItselfAtTheEnd) {
  TerminalOutput terminal(80);
  ASSERT_TRUE(terminal.ready());
  {
    ProgressLine progress(true, 2);
    progress.FileDone();
    PrintLine("done");
  }
  ProgressLine disabled(false, 5);
  disabled.FileDone();
  terminal.Restore();
  const std::string bytes = terminal.Take();
  // The rate and time left appear only once some time has passed, so only the start of each drawing is certain.
  EXPECT_EQ(bytes.rfind("\r\x1b[K0/2 files\r\x1b[K1/2 files", 0), 0u) << bytes;
  EXPECT_NE(bytes.find("\r\x1b[Kdone\r\n1/2 files"), std::string::npos) << bytes;
  EXPECT_EQ(bytes.find("/5 files"), std::string::npos) << bytes;
  EXPECT_TRUE(bytes.ends_with("\r\x1b[K")) << bytes;  // erased at the end
}

}  // namespace
}  // namespace lumivane::testing
