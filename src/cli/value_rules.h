#pragma once
// How the text of an advanced option's value becomes a number or a stored text.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace lumivane {

// Integer rule: leading blanks and tabs, an optional sign, then "$" hexadecimal, "%" binary or decimal digits up to
// the first non-digit. Accumulated in 64 bits (wrapping), negated for "-", low 32 bits kept:
// "12px" -> 12, "$FF" -> 255, "%101" -> 5, "abc" -> 0.
std::int32_t ParseIntegerValue(std::string_view text);

// Real rule: "+Infinity", "-Infinity" and "NaN" (any case, whole text) give those values; otherwise the longest
// decimal number after leading white space, with "." as separator whatever the locale; nothing readable gives 0.
// "1,5" -> 1.0f, "2.2" -> 2.2f.
float ParseRealValue(std::string_view text);

// Removes leading and trailing spaces (U+0020 only).
std::string_view TrimBlanks(std::string_view text);
// Removes every leading and trailing double quote.
std::string_view QuoteTrim(std::string_view text);

// Quote-join of the command-line scan: a value that begins with a double quote and does not end with one is
// continued with the values of the following parameters, each appended after one blank, until the value ends with a
// double quote or no parameter is left. `valueAt(i)` is the value of parameter i as the scan reads it.
// Returns the index of the last parameter consumed (`index` itself when nothing was joined).
int QuoteJoin(std::string& value, int index, int parameterCount, const std::function<std::string(int)>& valueAt);

}  // namespace lumivane
