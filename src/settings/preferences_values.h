#pragma once
// Conversions between preferences-file value texts and numbers. Reading never fails: malformed text gives the
// partial number or 0, as C's atoi and atof do.
#include <cstdint>
#include <string>
#include <string_view>

namespace lumivane {

// Like atoi: optional white space, optional sign, decimal digits up to the first other character; no digits give
// 0. The digits accumulate in 64 bits (wrapping), and the low 32 bits of the (negated) sum are the result, so
// "80abc" gives 80 and "99999999999999999999" gives the low 32 bits of that number modulo 2^64.
std::int32_t ParsePreferencesInteger(std::string_view text);

// Like atof (with "." as the decimal separator whatever the locale), except that a value that is exactly
// "+Infinity", "-Infinity" or "NaN" in any letter case gives that special value.
float ParsePreferencesFloat(std::string_view text);

// Six decimals ("1.000000"), or "+Infinity", "-Infinity", "NaN".
std::string FormatPreferencesFloat(float value);

}  // namespace lumivane
