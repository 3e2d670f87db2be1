#pragma once
// Reading UTF-8 text one character at a time, and its UTF-16 code units.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace lumivane {

struct Utf8Char {
  char32_t codePoint = 0;
  std::size_t length = 0;  // bytes taken by the character
};

// The character that starts at byte `pos`, or nothing when the bytes there are not a valid UTF-8 character
// (a stray continuation byte, a truncated sequence, an overlong form, a surrogate, or a value past U+10FFFF).
std::optional<Utf8Char> DecodeUtf8Char(std::string_view text, std::size_t pos);

// Appends the UTF-8 bytes of a code point; a surrogate or a value past U+10FFFF appends U+FFFD.
void AppendUtf8(std::string& text, char32_t codePoint);

// The UTF-16 code units of the text; a byte that is not valid UTF-8 counts as one unit of its own value.
std::u16string ToUtf16Units(std::string_view text);

}  // namespace lumivane
