#include "settings/colour.h"

#include <vector>

namespace lumivane {
namespace {

// The text as UTF-16 code units; only ASCII units can be hexadecimal digits, so every other character is kept as
// a placeholder unit. A byte that does not start a valid UTF-8 sequence counts as one unit.
std::vector<char32_t> Utf16Units(std::string_view text) {
  std::vector<char32_t> units;
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = lead < 0x80             ? 1
                         : (lead & 0xE0) == 0xC0 ? 2
                         : (lead & 0xF0) == 0xE0 ? 3
                         : (lead & 0xF8) == 0xF0 ? 4
                                                 : 0;
    bool valid = length != 0 && i + length <= text.size();
    for (std::size_t k = 1; valid && k < length; ++k) {
      valid = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
    }
    if (!valid) length = 1;
    units.push_back(lead < 0x80 ? lead : 0xFFFD);
    if (valid && length == 4) units.push_back(0xFFFD);  // a surrogate pair is two units
    i += length;
  }
  return units;
}

int HexDigitValue(char32_t c) {
  if (c >= '0' && c <= '9') return static_cast<int>(c - '0');
  if (c >= 'a' && c <= 'f') return static_cast<int>(c - 'a' + 10);
  if (c >= 'A' && c <= 'F') return static_cast<int>(c - 'A' + 10);
  return -1;
}

std::uint8_t ReadHexPair(char32_t first, char32_t second) {
  const int high = HexDigitValue(first);
  if (high < 0) return 0;
  const int low = HexDigitValue(second);
  return static_cast<std::uint8_t>(low < 0 ? high : high * 16 + low);
}

}  // namespace

RgbColour ParseColour(std::string_view text) {
  const std::vector<char32_t> units = Utf16Units(text);
  if (units.size() != 6) return {};
  return {ReadHexPair(units[0], units[1]), ReadHexPair(units[2], units[3]), ReadHexPair(units[4], units[5])};
}

}  // namespace lumivane
