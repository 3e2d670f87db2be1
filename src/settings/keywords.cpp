#include "settings/keywords.h"

#include "platform/ascii_text.h"

namespace lumivane {
namespace {

std::string_view TrimBlanksAndTabs(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

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
