#include "cli/value_rules.h"

#include <locale.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "platform/ascii_text.h"

namespace lumivane {
namespace {

// The digit's value in the given base, or -1 when the character is not a digit of that base.
int DigitValue(char c, int base) {
  int digit = -1;
  if (c >= '0' && c <= '9')
    digit = c - '0';
  else if (c >= 'a' && c <= 'f')
    digit = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F')
    digit = c - 'A' + 10;
  return digit < base ? digit : -1;
}

bool IsCWhiteSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Parses an overflowing or underflowing decimal number the way the C library does (to infinity or towards zero),
// always with the C locale so that "." is the separator.
float ParseOutOfRange(std::string_view number) {
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  const std::string copy(number);
  if (cLocale == static_cast<locale_t>(0)) return 0.0f;
  return strtof_l(copy.c_str(), nullptr, cLocale);
}

}  // namespace

std::int32_t ParseIntegerValue(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) negative = text[pos++] == '-';
  int base = 10;
  if (pos < text.size() && text[pos] == '$') {
    base = 16;
    ++pos;
  } else if (pos < text.size() && text[pos] == '%') {
    base = 2;
    ++pos;
  }
  std::uint64_t value = 0;  // unsigned: overlong numbers wrap instead of overflowing
  for (; pos < text.size(); ++pos) {
    const int digit = DigitValue(text[pos], base);
    if (digit < 0) break;
    value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
  }
  if (negative) value = 0 - value;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

float ParseRealValue(std::string_view text) {
  if (EqualsIgnoringAsciiCase(text, "+Infinity")) return std::numeric_limits<float>::infinity();
  if (EqualsIgnoringAsciiCase(text, "-Infinity")) return -std::numeric_limits<float>::infinity();
  if (EqualsIgnoringAsciiCase(text, "NaN")) return std::numeric_limits<float>::quiet_NaN();

  std::size_t pos = 0;
  while (pos < text.size() && IsCWhiteSpace(text[pos])) ++pos;
  const std::size_t numberStart = pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) negative = text[pos++] == '-';
  // Only decimal digits or "." may start the number: no "inf", "nan" or hexadecimal forms.
  if (pos >= text.size() || !(text[pos] == '.' || (text[pos] >= '0' && text[pos] <= '9'))) return 0.0f;

  float value = 0.0f;
  const char* first = text.data() + pos;
  const char* last = text.data() + text.size();
  const std::from_chars_result result = std::from_chars(first, last, value, std::chars_format::general);
  if (result.ec == std::errc::invalid_argument) return 0.0f;  // a lone "."
  if (result.ec == std::errc::result_out_of_range) {
    value = ParseOutOfRange(text.substr(numberStart, static_cast<std::size_t>(result.ptr - text.data()) - numberStart));
    return value;  // the sign is part of the text given to the C library
  }
  return negative ? -value : value;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

std::string_view QuoteTrim(std::string_view text) {
  while (!text.empty() && text.front() == '"') text.remove_prefix(1);
  while (!text.empty() && text.back() == '"') text.remove_suffix(1);
  return text;
}

int QuoteJoin(std::string& value, int index, int parameterCount, const std::function<std::string(int)>& valueAt) {
  // A lone double quote both begins and ends the value, so it is never continued.
  if (value.empty() || value.front() != '"' || value.back() == '"') return index;
  while (index < parameterCount - 1) {
    ++index;
    value += ' ';
    value += valueAt(index);
    if (!value.empty() && value.back() == '"') break;
  }
  return index;
}

}  // namespace lumivane
