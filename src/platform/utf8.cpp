#include "platform/utf8.h"

namespace lumivane {

namespace {

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The length a lead byte announces, or 0 for a byte that cannot start a character.
std::size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

}  // namespace

std::optional<Utf8Char> DecodeUtf8Char(std::string_view text, std::size_t pos) {
  if (pos >= text.size()) return std::nullopt;
  const auto lead = static_cast<unsigned char>(text[pos]);
  const std::size_t length = SequenceLength(lead);
  if (length == 0 || pos + length > text.size()) return std::nullopt;
  if (length == 1) return Utf8Char{lead, 1};

  char32_t codePoint = lead & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i) {
    const auto byte = static_cast<unsigned char>(text[pos + i]);
    if (!IsContinuation(byte)) return std::nullopt;
    codePoint = (codePoint << 6) | (byte & 0x3F);
  }
  // The shortest form only, no surrogates, nothing past the last code point.
  static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (codePoint < kSmallest[length]) return std::nullopt;
  if (codePoint >= 0xD800 && codePoint <= 0xDFFF) return std::nullopt;
  if (codePoint > 0x10FFFF) return std::nullopt;
  return Utf8Char{codePoint, length};
}

std::u16string ToUtf16Units(std::string_view text) {
  std::u16string units;
  units.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::optional<Utf8Char> ch = DecodeUtf8Char(text, pos);
    if (!ch) {
      units.push_back(static_cast<unsigned char>(text[pos]));
      ++pos;
      continue;
    }
    if (ch->codePoint >= 0x10000) {
      const char32_t offset = ch->codePoint - 0x10000;
      units.push_back(static_cast<char16_t>(0xD800 + (offset >> 10)));
      units.push_back(static_cast<char16_t>(0xDC00 + (offset & 0x3FF)));
    } else {
      units.push_back(static_cast<char16_t>(ch->codePoint));
    }
    pos += ch->length;
  }
  return units;
}

void AppendUtf8(std::string& text, char32_t codePoint) {
  if (codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) codePoint = 0xFFFD;
  if (codePoint < 0x80) {
    text += static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    text += static_cast<char>(0xC0 | (codePoint >> 6));
    text += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    text += static_cast<char>(0xE0 | (codePoint >> 12));
    text += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    text += static_cast<char>(0xF0 | (codePoint >> 18));
    text += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
    text += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
}

}  // namespace lumivane
