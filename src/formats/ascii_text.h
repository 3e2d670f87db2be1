#pragma once
// Small ASCII helpers for the format tables, usable at compile time.
#include <algorithm>
#include <string_view>

namespace lumivane {

constexpr char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Table keys are non-empty runs of lower-case letters and digits: no dots, spaces or upper case.
constexpr bool IsLowerCaseAlphanumeric(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
  });
}

}  // namespace lumivane
