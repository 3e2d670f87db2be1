// Option value texts: the integer and real rules and the keyword tables, with any bytes.
#include <cmath>
#include <cstdint>
#include <string>

#include "cli/keyword_tables.h"
#include "cli/value_rules.h"
#include "fuzz_support.h"

using namespace lumivane;
using lumivane::fuzzing::Require;

namespace {

bool IsCodeOf(KeywordTable table, std::int32_t code) {
  for (const Keyword& entry : KeywordsOf(table)) {
    if (entry.code == code) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = fuzzing::AsText(data, size);

  const std::int32_t integer = ParseIntegerValue(text);
  Require(ParseIntegerValue(" \t" + std::string(text)) == integer, "leading blanks and tabs do not change an integer");

  const float real = ParseRealValue(text);
  const std::string padded = " " + std::string(text);
  const float paddedReal = ParseRealValue(padded);
  // The whole-text specials aside, a leading blank changes nothing.
  if (!std::isinf(real) || std::isinf(paddedReal)) {
    Require(std::isnan(real) ? std::isnan(paddedReal) || paddedReal == 0.0f : paddedReal == real,
            "a leading blank does not change a real");
  }

  for (int table = 0; table < kKeywordTableCount; ++table) {
    const auto keywords = static_cast<KeywordTable>(table);
    const std::int32_t code = KeywordValue(keywords, text);
    Require(code == 0 || IsCodeOf(keywords, code), "a keyword value is 0 or a code of its table");
    (void)KeywordName(keywords, integer);
  }
  (void)CompressionKeywordName(text, integer);

  const std::string_view trimmed = QuoteTrim(TrimBlanksAndTabs(TrimBlanks(text)));
  Require(trimmed.empty() || (trimmed.front() != '"' && trimmed.back() != '"'), "quote trim removes every quote");
  Require(AsciiUpper(AsciiLower(text)) == AsciiUpper(text), "case folding is stable");
  return 0;
}
