#pragma once
// Tells, byte by byte, which keys a terminal reports: keys that produce a character end a wait for a key,
// while the escape sequences of arrow, function and editing keys do not.

namespace lumivane {

enum class KeyInputStage {
  kIdle,             // between keys
  kEscape,           // ESC seen: the Escape key itself, an Alt+key, or the start of a sequence
  kControlStart,     // ESC [ seen
  kControlSequence,  // ESC [ and parameter bytes seen: more parameters up to a final byte
  kLinuxFunction,    // ESC [ [ seen (Linux console F1..F5): one final byte follows
  kSingleShift,      // ESC O seen: one final byte follows
  kMultiByte,        // inside a UTF-8 character
};

struct KeyInputState {
  KeyInputStage stage = KeyInputStage::kIdle;
  int bytesMissing = 0;  // continuation bytes still expected in kMultiByte
};

enum class KeyInputResult {
  kNeedMore,      // part of a key; read on
  kCharacterKey,  // a key that produces a character was completed
  kSilentKey,     // a key without a character (arrow, function key) was completed
};

// Feeds one byte read from the terminal.
KeyInputResult FeedKeyByte(KeyInputState& state, unsigned char byte);

// Called when no further byte arrives soon after a partial key: a lone ESC is the Escape key and a cut
// UTF-8 character still was a character; an unfinished escape sequence was no character.
KeyInputResult FinishPendingKey(KeyInputState& state);

}  // namespace lumivane
