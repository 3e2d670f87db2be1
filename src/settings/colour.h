#pragma once
// Colour settings are "RRGGBB" texts of six hexadecimal digits.
#include <cstdint>
#include <string_view>

namespace lumivane {

struct RgbColour {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  bool operator==(const RgbColour&) const = default;
};

// Red, green and blue of a colour text. A text that is not exactly six characters long gives black. Each pair of
// characters is read as hexadecimal (either case) up to its first non-hexadecimal character; no digits give 0, so
// "F" followed by "x" gives 15. Characters are counted as the UTF-16 units of the UTF-8 text.
RgbColour ParseColour(std::string_view text);

}  // namespace lumivane
