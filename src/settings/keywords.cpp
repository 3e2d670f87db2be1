#include "settings/keywords.h"

#include "platform/ascii_text.h"

namespace lumivane {

std::int32_t KeywordValue(std::span<const Keyword> keywords, std::string_view text) {
  const std::string wanted = AsciiUpper(TrimBlanksAndTabs(text));
  for (const Keyword& entry : keywords) {
    if (entry.keyword == wanted) return entry.code;
  }
  return 0;
}

std::string KeywordName(std::span<const Keyword> keywords, std::int32_t code) {
  for (const Keyword& entry : keywords) {
    if (entry.code == code) return AsciiLower(entry.keyword);
  }
  return {};
}

}  // namespace lumivane
