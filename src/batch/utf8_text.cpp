#include "batch/utf8_text.h"

namespace lumivane {

namespace {

constexpr bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

struct LeadByte {
  std::size_t length;
  char32_t bits;
  char32_t smallest;  // below this the form is overlong
};

constexpr LeadByte Classify(unsigned char byte) {
  if (byte < 0x80) return {1, byte, 0};
  if ((byte & 0xE0) == 0xC0) return {2, char32_t(byte & 0x1F), 0x80};
  if ((byte & 0xF0) == 0xE0) return {3, char32_t(byte & 0x0F), 0x800};
  if ((byte & 0xF8) == 0xF0) return {4, char32_t(byte & 0x07), 0x10000};
  return {0, 0, 0};
}

}  // namespace

Utf8Step NextUtf8Step(std::string_view text, std::size_t pos) {
  const auto first = static_cast<unsigned char>(text[pos]);
  const Utf8Step invalid{first, 1, false};
  const LeadByte lead = Classify(first);
  if (lead.length == 0 || pos + lead.length > text.size()) return invalid;
  char32_t value = lead.bits;
  for (std::size_t i = 1; i < lead.length; ++i) {
    const auto byte = static_cast<unsigned char>(text[pos + i]);
    if (!IsContinuation(byte)) return invalid;
    value = (value << 6) | (byte & 0x3F);
  }
  if (value < lead.smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return invalid;
  return {value, lead.length, true};
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
