#include "settings/preferences_values.h"

#include <locale.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "platform/ascii_text.h"

namespace lumivane {
namespace {

bool IsCSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

std::string_view TrimBlanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The "C" locale, so that "." is the decimal separator whatever the process locale is.
locale_t ClassicLocale() {
  static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  return locale;
}

}  // namespace

std::int32_t ParsePreferencesInteger(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsCSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  std::uint64_t sum = 0;  // unsigned: overflow wraps instead of being undefined
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    sum = sum * 10u + static_cast<std::uint64_t>(text[i] - '0');
  }
  if (negative) sum = 0u - sum;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(sum));
}

float ParsePreferencesFloat(std::string_view text) {
  const std::string_view trimmed = TrimBlanks(text);
  if (EqualsIgnoringAsciiCase(trimmed, "+Infinity")) return std::numeric_limits<float>::infinity();
  if (EqualsIgnoringAsciiCase(trimmed, "-Infinity")) return -std::numeric_limits<float>::infinity();
  if (EqualsIgnoringAsciiCase(trimmed, "NaN")) return std::numeric_limits<float>::quiet_NaN();
  const std::string terminated(text);  // like atof, reading ends at an embedded NUL
  const locale_t locale = ClassicLocale();
  const double value = locale != static_cast<locale_t>(0) ? strtod_l(terminated.c_str(), nullptr, locale)
                                                          : std::strtod(terminated.c_str(), nullptr);
  return static_cast<float>(value);  // IEEE: out-of-range values become infinities
}

std::string FormatPreferencesFloat(float value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "+Infinity" : "-Infinity";
  char buffer[64];  // the largest float has 39 integer digits
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
  return std::string(buffer, result.ptr);
}

}  // namespace lumivane
