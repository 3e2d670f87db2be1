#include "platform/key_input.h"

#include <gtest/gtest.h>

#include <string>

namespace lumivane::testing {
namespace {

// Feeds the bytes in turn; returns the position of the byte that completes a character key, or -1.
int CharacterKeyAt(KeyInputState& state, const std::string& bytes) {
  for (size_t i = 0; i < bytes.size(); ++i)
    if (FeedKeyByte(state, static_cast<unsigned char>(bytes[i])) == KeyInputResult::kCharacterKey)
      return static_cast<int>(i);
  return -1;
}

struct KeyCase {
  const char* name;
  std::string bytes;
  int characterKeyAt;
};

const KeyCase kKeyCases[] = {
    {"Letter", "a", 0},
    {"Digit", "7", 0},
    {"Enter", "\r", 0},
    {"Space", " ", 0},
    {"Backspace", "\x7f", 0},
    {"CtrlD", "\x04", 0},
    {"TwoByteCharacter", "\xC3\xA9", 1},
    {"FourByteCharacter", "\xF0\x9F\x98\x80", 3},
    {"AltLetter", "\x1bx", 1},
    {"ArrowUp", "\x1b[A", -1},
    {"ArrowThenLetter", "\x1b[Ax", 3},
    {"CtrlRight", "\x1b[1;5C", -1},
    {"F5", "\x1b[15~", -1},
    {"F5ThenEnter", "\x1b[15~\r", 5},
    {"F1SingleShift", "\x1bOP", -1},
    {"ShiftF1SingleShift", "\x1bO2P", -1},
    {"F1LinuxConsole", "\x1b[[A", -1},
    {"F1LinuxConsoleThenLetter", "\x1b[[Ab", 4},
    {"ArrowWithMetaPrefix", "\x1b\x1b[B", -1},
    {"SeveralSilentKeysThenLetter", "\x1b[A\x1b[B\x1bOQ\x1b[3~q", 13},
    {"BrokenMultiByte", "\xC3z", 1},
};

TEST(FeedKeyByte, CharacterKeysEndTheWaitOthersDoNot) {
  for (const KeyCase& c : kKeyCases) {
    SCOPED_TRACE(c.name);
    KeyInputState state;
    EXPECT_EQ(CharacterKeyAt(state, c.bytes), c.characterKeyAt);
  }
}

TEST(FinishPendingKey, LoneEscapeIsAKeySequenceRemainsIsNot) {
  const struct {
    const char* name;
    std::string bytes;
    KeyInputResult atPause;
  } cases[] = {
      {"Escape", "\x1b", KeyInputResult::kCharacterKey},
      {"DoubleEscape", "\x1b\x1b", KeyInputResult::kCharacterKey},
      {"CutMultiByte", "\xE2\x82", KeyInputResult::kCharacterKey},
      {"CutControlSequence", "\x1b[1;", KeyInputResult::kSilentKey},
      {"CutSingleShift", "\x1bO", KeyInputResult::kSilentKey},
      {"NothingPending", "", KeyInputResult::kNeedMore},
      {"AfterCompleteArrow", "\x1b[A", KeyInputResult::kNeedMore},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    KeyInputState state;
    ASSERT_EQ(CharacterKeyAt(state, c.bytes), -1);
    EXPECT_EQ(FinishPendingKey(state), c.atPause);
    // Whatever the pause decided, the next byte starts a new key.
    EXPECT_EQ(FeedKeyByte(state, 'k'), KeyInputResult::kCharacterKey);
  }
}

}  // namespace
}  // namespace lumivane::testing
