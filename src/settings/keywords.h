#pragma once
// Value keywords of the code-valued settings: plain {keyword, code} lists. Forward (text -> code) for option values,
// reverse (code -> lower-case text) for the debug listing and the documents.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

namespace lumivane {

struct Keyword {
  std::string_view keyword;  // upper-case ASCII letters and digits
  std::int32_t code;

  template <class Code>
  requires std::is_enum_v<Code>
  constexpr Keyword(std::string_view word, Code value) : keyword(word), code(static_cast<std::int32_t>(value)) {}
};

// The number a code is stored as.
template <class Code>
requires std::is_enum_v<Code>
constexpr std::int32_t CodeOf(Code value) { return static_cast<std::int32_t>(value); }

// The code of the keyword equal to `text` once blanks and tabs are trimmed and letters upper-cased; 0 when none
// matches.
std::int32_t KeywordValue(std::span<const Keyword> keywords, std::string_view text);
// The same with the code an unknown text gets chosen by the caller.
std::int32_t KeywordValueOr(std::span<const Keyword> keywords, std::string_view text, std::int32_t unknown);
// The code no keyword list uses: what a refused keyword leaves in a setting whose check then fails.
inline constexpr std::int32_t kUnknownKeywordCode = -1;
// The first keyword, in list order, whose code is `code`, in lower case; "" when none has it.
std::string KeywordName(std::span<const Keyword> keywords, std::int32_t code);

// Keywords are unique, non-empty upper-case words with codes >= 0, and code 0 (what an unknown keyword gives) is
// among them.
constexpr bool IsWellFormedKeywordList(std::span<const Keyword> keywords) {
  bool hasZero = false;
  for (std::size_t i = 0; i < keywords.size(); ++i) {
    if (keywords[i].keyword.empty() || keywords[i].code < 0) return false;
    for (const char c : keywords[i].keyword) {
      if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
    }
    for (std::size_t j = 0; j < i; ++j) {
      if (keywords[j].keyword == keywords[i].keyword) return false;
    }
    hasZero = hasZero || keywords[i].code == 0;
  }
  return hasZero;
}

}  // namespace lumivane
