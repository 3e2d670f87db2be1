#pragma once
// Reading and writing UTF-8 one character at a time, tolerant of bytes that are not valid UTF-8.
#include <cstddef>
#include <string>
#include <string_view>

namespace lumivane {

// One step through UTF-8 text: a character, or a single byte that does not start a valid character.
struct Utf8Step {
  char32_t codePoint{};  // the character, or the byte's own value when !valid
  std::size_t length{};  // bytes consumed, at least 1
  bool valid{};
};

// The step at byte `pos` (pos < text.size()). Overlong forms, surrogates and values past U+10FFFF are not valid.
Utf8Step NextUtf8Step(std::string_view text, std::size_t pos);

// Appends the UTF-8 bytes of a code point; a surrogate or a value past U+10FFFF appends U+FFFD.
void AppendUtf8(std::string& text, char32_t codePoint);

}  // namespace lumivane
