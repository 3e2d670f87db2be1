#pragma once
// ASCII-only case folding: group and key names of preferences files match without regard to the case of ASCII
// letters, and only of those.
#include <string_view>

namespace lumivane {

constexpr char ToAsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

constexpr bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (ToAsciiLower(a[i]) != ToAsciiLower(b[i])) return false;
  }
  return true;
}

}  // namespace lumivane
