#pragma once
// Reading of an allowed bit depth list such as "1,4,8,24", usable at compile time to check the format table.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace lumivane {

struct BitDepthList {
  static constexpr std::size_t kCapacity = 8;
  std::array<std::int32_t, kCapacity> values{};
  std::size_t count = 0;
  bool wellFormed = true;  // decimal numbers joined by single commas, at most kCapacity of them

  constexpr bool Contains(std::int32_t bpp) const {
    for (std::size_t i = 0; i < count; ++i) {
      if (values[i] == bpp) return true;
    }
    return false;
  }

  constexpr bool IsStrictlyAscending() const {
    for (std::size_t i = 1; i < count; ++i) {
      if (values[i - 1] >= values[i]) return false;
    }
    return true;
  }
};

// An empty text is an empty list.
constexpr BitDepthList ParseBitDepthList(std::string_view text) {
  BitDepthList list;
  if (text.empty()) return list;
  std::int32_t value = 0;
  bool haveDigit = false;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    const bool atSeparator = i == text.size() || text[i] == ',';
    if (atSeparator) {
      if (!haveDigit || list.count == BitDepthList::kCapacity) {
        list.wellFormed = false;
        return list;
      }
      list.values[list.count++] = value;
      value = 0;
      haveDigit = false;
    } else if (text[i] >= '0' && text[i] <= '9' && value < 100000) {
      value = value * 10 + (text[i] - '0');
      haveDigit = true;
    } else {
      list.wellFormed = false;
      return list;
    }
  }
  return list;
}

}  // namespace lumivane
