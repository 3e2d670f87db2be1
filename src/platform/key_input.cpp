#include "platform/key_input.h"

namespace lumivane {

namespace {

KeyInputResult Complete(KeyInputState& state, KeyInputResult result) {
  state = KeyInputState{};
  return result;
}

int ContinuationBytesAfter(unsigned char lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return 1;
  if (lead >= 0xE0 && lead <= 0xEF) return 2;
  if (lead >= 0xF0 && lead <= 0xF4) return 3;
  return 0;
}

KeyInputResult FeedIdle(KeyInputState& state, unsigned char byte) {
  if (byte == 0x1B) {
    state.stage = KeyInputStage::kEscape;
    return KeyInputResult::kNeedMore;
  }
  const int missing = ContinuationBytesAfter(byte);
  if (missing > 0) {
    state.stage = KeyInputStage::kMultiByte;
    state.bytesMissing = missing;
    return KeyInputResult::kNeedMore;
  }
  // Letters, digits, punctuation, Enter, Space, Tab, Backspace, Ctrl+letter, and stray bytes alike.
  return Complete(state, KeyInputResult::kCharacterKey);
}

bool IsParameterOrIntermediate(unsigned char byte) { return byte >= 0x20 && byte <= 0x3F; }

}  // namespace

KeyInputResult FeedKeyByte(KeyInputState& state, unsigned char byte) {
  switch (state.stage) {
    case KeyInputStage::kIdle:
      return FeedIdle(state, byte);
    case KeyInputStage::kEscape:
      if (byte == '[') {
        state.stage = KeyInputStage::kControlStart;
        return KeyInputResult::kNeedMore;
      }
      if (byte == 'O') {
        state.stage = KeyInputStage::kSingleShift;
        return KeyInputResult::kNeedMore;
      }
      if (byte == 0x1B) return KeyInputResult::kNeedMore;  // Alt+Escape or a sequence sent with a meta prefix
      state = KeyInputState{};
      return FeedIdle(state, byte);  // Alt+key: the key's own character counts
    case KeyInputStage::kControlStart:
      if (byte == '[') {
        state.stage = KeyInputStage::kLinuxFunction;
        return KeyInputResult::kNeedMore;
      }
      state.stage = KeyInputStage::kControlSequence;
      [[fallthrough]];
    case KeyInputStage::kControlSequence:
    case KeyInputStage::kSingleShift:
      if (IsParameterOrIntermediate(byte)) return KeyInputResult::kNeedMore;
      return Complete(state, KeyInputResult::kSilentKey);
    case KeyInputStage::kLinuxFunction:
      return Complete(state, KeyInputResult::kSilentKey);
    case KeyInputStage::kMultiByte:
      if ((byte & 0xC0) != 0x80) return Complete(state, KeyInputResult::kCharacterKey);
      if (--state.bytesMissing > 0) return KeyInputResult::kNeedMore;
      return Complete(state, KeyInputResult::kCharacterKey);
  }
  return Complete(state, KeyInputResult::kCharacterKey);
}

KeyInputResult FinishPendingKey(KeyInputState& state) {
  switch (state.stage) {
    case KeyInputStage::kIdle:
      return KeyInputResult::kNeedMore;
    case KeyInputStage::kEscape:
    case KeyInputStage::kMultiByte:
      return Complete(state, KeyInputResult::kCharacterKey);
    default:
      return Complete(state, KeyInputResult::kSilentKey);
  }
}

}  // namespace lumivane
