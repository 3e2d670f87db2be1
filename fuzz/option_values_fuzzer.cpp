// Option value texts: the integer and real rules, the keyword lists of every code setting and colours, with any
// bytes.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "cli/value_rules.h"
#include "fuzz_support.h"
#include "pipeline/colour_alpha.h"
#include "platform/ascii_text.h"
#include "settings/colour.h"
#include "settings/settings_table.h"

using namespace lumivane;
using lumivane::fuzzing::Require;

namespace {

bool IsCodeOf(std::span<const Keyword> keywords, std::int32_t code) {
  for (const Keyword& entry : keywords) {
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

  for (const SettingRow& row : kSettingTable) {
    if (row.keywords.empty()) continue;
    const std::int32_t code = KeywordValue(row.accepted, text);
    Require(code == 0 || IsCodeOf(row.accepted, code), "a keyword value is 0 or a code of its list");
    (void)KeywordName(row.keywords, integer);
  }

  // Colour values: only six characters make a colour; the opacity is clamped.
  const RgbColour colour = ParseColour(text);
  const bool ascii = std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; });
  if (ascii && text.size() != 6) Require(colour == RgbColour{}, "a text not six characters long is black");
  const Rgba withAlpha = ParseColourAlpha(text, integer);
  Require(AlphaOf(withAlpha) == (integer < 0 ? 0 : integer > 255 ? 255 : integer), "the opacity is clamped");
  Require(RedOf(withAlpha) == colour.r && GreenOf(withAlpha) == colour.g && BlueOf(withAlpha) == colour.b,
          "the colour with an opacity keeps its channels");

  const std::string_view trimmed = QuoteTrim(TrimBlanksAndTabs(TrimBlanks(text)));
  Require(trimmed.empty() || (trimmed.front() != '"' && trimmed.back() != '"'), "quote trim removes every quote");
  Require(AsciiUpper(AsciiLower(text)) == AsciiUpper(text), "case folding is stable");
  return 0;
}
