#include "platform/console.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <mutex>
#include <optional>

#include "platform/key_input.h"
#include "platform/utf8.h"

namespace lumivane {

namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";  // U+FFFD in UTF-8
// How long the bytes of one key may lie apart; a lone ESC after this long was the Escape key.
constexpr int kKeySequenceGapMs = 50;

constexpr std::string_view kEraseLine = "\r\x1b[K";  // back to the line's start, erase to its end

std::mutex gOutputLock;
std::atomic<bool> gTitleSaved{false};
std::string gStatusLine;  // shown below the printed lines; guarded by gOutputLock

// Writes all bytes to standard output, retrying short writes; gives up silently on an error. The caller holds
// gOutputLock.
void WriteAllLocked(std::string_view bytes) {
  std::fflush(stdout);  // anything a library left in the stdio buffer comes first
  while (!bytes.empty()) {
    const ssize_t written = ::write(STDOUT_FILENO, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;
    bytes.remove_prefix(static_cast<size_t>(written));
  }
}

void WriteAll(std::string_view bytes) {
  std::lock_guard<std::mutex> lock(gOutputLock);
  WriteAllLocked(bytes);
}

bool StandardOutputIsTerminal() { return ::isatty(STDOUT_FILENO) == 1; }

// The printable text cut to one character less than the terminal is wide (the cursor needs the last column).
std::string FitToTerminal(const std::string& text) {
  std::string shown = MakePrintable(text);
  winsize size{};
  if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0 || size.ws_col < 2) return shown;
  std::size_t pos = 0;
  for (unsigned columns = 0; pos < shown.size() && columns + 1 < size.ws_col; ++columns) {
    pos += DecodeUtf8Char(shown, pos)->length;  // MakePrintable leaves only valid UTF-8
  }
  shown.resize(pos);
  return shown;
}

// Reads one byte from standard input; false at the end of input or on an error. With a timeout (ms), also
// false when nothing arrives in time.
bool ReadInputByte(unsigned char& byte, int timeoutMs) {
  for (;;) {
    if (timeoutMs >= 0) {
      pollfd waiting{STDIN_FILENO, POLLIN, 0};
      const int ready = ::poll(&waiting, 1, timeoutMs);
      if (ready < 0 && errno == EINTR) continue;
      if (ready <= 0) return false;
    }
    const ssize_t got = ::read(STDIN_FILENO, &byte, 1);
    if (got < 0 && errno == EINTR) continue;
    return got == 1;
  }
}

// Reads terminal bytes until a key that produces a character is complete, or input ends.
void WaitForCharacterKey() {
  KeyInputState state;
  for (;;) {
    unsigned char byte = 0;
    const bool partial = state.stage != KeyInputStage::kIdle;
    if (!ReadInputByte(byte, partial ? kKeySequenceGapMs : -1)) {
      if (!partial) return;  // the terminal went away
      if (FinishPendingKey(state) == KeyInputResult::kCharacterKey) return;
      continue;
    }
    if (FeedKeyByte(state, byte) == KeyInputResult::kCharacterKey) return;
  }
}

}  // namespace

std::string MakePrintable(std::string_view text) {
  std::string shown;
  shown.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::optional<Utf8Char> ch = DecodeUtf8Char(text, pos);
    if (!ch) {
      shown += kReplacementCharacter;
      ++pos;
    } else if (ch->codePoint < 0x20) {
      shown += '?';
      ++pos;
    } else {
      shown.append(text.substr(pos, ch->length));
      pos += ch->length;
    }
  }
  return shown;
}

bool BeginConsole() {
  std::signal(SIGPIPE, SIG_IGN);
  return true;
}

void EndConsole() {
  ShowStatusLine("");
  if (gTitleSaved.exchange(false)) WriteAll("\x1b[23;0t");  // pop the title saved by SetConsoleTitle
}

void SetConsoleTitle(const std::string& text) {
  if (!StandardOutputIsTerminal()) return;
  std::string sequence;
  if (!gTitleSaved.exchange(true)) sequence = "\x1b[22;0t";  // push the terminal's own title first
  sequence += "\x1b]0;" + MakePrintable(text) + "\a";
  WriteAll(sequence);
}

void PrintLine(const std::string& text) {
  std::lock_guard<std::mutex> lock(gOutputLock);
  if (gStatusLine.empty()) {
    WriteAllLocked(MakePrintable(text) + "\r\n");
    return;
  }
  WriteAllLocked(std::string(kEraseLine) + MakePrintable(text) + "\r\n" + gStatusLine);
}

void ShowStatusLine(const std::string& text) {
  if (!StandardOutputIsTerminal()) return;
  const std::string shown = FitToTerminal(text);
  std::lock_guard<std::mutex> lock(gOutputLock);
  if (shown.empty() && gStatusLine.empty()) return;
  WriteAllLocked(std::string(kEraseLine) + shown);
  gStatusLine = shown;
}

void WaitForKey() {
  termios saved{};
  if (::tcgetattr(STDIN_FILENO, &saved) != 0) {
    unsigned char byte = 0;
    ReadInputByte(byte, -1);  // not a terminal: the first byte or the end of input
    return;
  }
  termios raw = saved;
  raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  // TCSANOW keeps what was typed before the wait, so an early key press ends it at once.
  if (::tcsetattr(STDIN_FILENO, TCSANOW, &raw) != 0) return;
  WaitForCharacterKey();
  ::tcsetattr(STDIN_FILENO, TCSANOW, &saved);
}

}  // namespace lumivane
