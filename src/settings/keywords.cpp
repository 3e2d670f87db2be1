#include "settings/keywords.h"

#include "platform/ascii_text.h"

namespace lumivane {

std::int32_t KeywordValue(std::span<const Keyword> keywords, std::string_view text) {
  return KeywordValueOr(keywords, text, 0);
}

std::int32_t KeywordValueOr(std::span<const Keyword> keywords, std::string_view text, std::int32_t unknown) {
  const std::string wanted = AsciiUpper(TrimBlanksAndTabs(text));
  for (const Keyword& entry : keywords) {
    if (entry.keyword == wanted) return entry.code;
  }
  return unknown;
}

std::string KeywordName(std::span<const Keyword> keywords, std::int32_t code) {
  for (const Keyword& entry : keywords) {
    if (entry.code == code) return AsciiLower(entry.keyword);
  }
  return {};
}

}  // namespace lumivane
