#include "cli/keyword_tables.h"

#include "cli/value_rules.h"

namespace lumivane {
namespace {

constexpr bool IsKeywordCharacter(char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

constexpr bool IsWellFormed(std::span<const Keyword> table) {
  bool hasZero = false;
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (table[i].keyword.empty() || table[i].code < 0) return false;
    for (char c : table[i].keyword) {
      if (!IsKeywordCharacter(c)) return false;
    }
    for (std::size_t j = 0; j < i; ++j) {
      if (table[j].keyword == table[i].keyword) return false;
    }
    hasZero = hasZero || table[i].code == 0;
  }
  return hasZero;
}

constexpr bool AllTablesWellFormed() {
  for (std::span<const Keyword> table : kKeywordTables) {
    if (!IsWellFormed(table)) return false;
  }
  return true;
}
static_assert(AllTablesWellFormed(), "keywords are unique upper-case words with codes >= 0, code 0 in every table");

// Every per-format compression name must be a shared compression keyword with the code of its position.
constexpr bool CompressionNamesMatchSharedTable() {
  for (const CompressionNames& format : kCompressionNamesByFormat) {
    for (std::size_t code = 0; code < format.keywordsByCode.size(); ++code) {
      bool found = false;
      for (const Keyword& entry : kCompressionKeywords) {
        found =
            found || (entry.keyword == format.keywordsByCode[code] && entry.code == static_cast<std::int32_t>(code));
      }
      if (!found) return false;
    }
  }
  return true;
}
static_assert(CompressionNamesMatchSharedTable(), "a format's compression name disagrees with the shared table");

bool IsKnownTable(KeywordTable table) { return static_cast<int>(table) < kKeywordTableCount; }

}  // namespace

std::int32_t KeywordValue(KeywordTable table, std::string_view text) {
  if (!IsKnownTable(table)) return 0;
  const std::string wanted = AsciiUpper(TrimBlanksAndTabs(text));
  for (const Keyword& entry : KeywordsOf(table)) {
    if (entry.keyword == wanted) return entry.code;
  }
  return 0;
}

std::string KeywordName(KeywordTable table, std::int32_t code) {
  if (!IsKnownTable(table)) return {};
  for (const Keyword& entry : KeywordsOf(table)) {
    if (entry.code == code) return AsciiLower(entry.keyword);
  }
  return {};
}

std::string CompressionKeywordName(std::string_view formatIdentifier, std::int32_t code) {
  for (const CompressionNames& format : kCompressionNamesByFormat) {
    if (format.formatIdentifier != formatIdentifier) continue;
    if (code < 0 || static_cast<std::size_t>(code) >= format.keywordsByCode.size()) return {};
    return AsciiLower(format.keywordsByCode[static_cast<std::size_t>(code)]);
  }
  return {};
}

}  // namespace lumivane
