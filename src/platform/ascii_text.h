#pragma once
// ASCII text helpers. Option names, keywords, preferences keys and name tokens match without regard to the case of
// ASCII letters, and only of those; other bytes (UTF-8 sequences included) are kept as they are.
#include <cstddef>
#include <string>
#include <string_view>

namespace lumivane {

constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
constexpr char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

inline std::string AsciiLower(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) c = AsciiLower(c);
  return folded;
}

inline std::string AsciiUpper(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) c = AsciiUpper(c);
  return folded;
}

constexpr bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

// Whether text holds `lowerCase` (written in lower case) at position `at`, in any letter case.
constexpr bool HoldsIgnoringAsciiCase(std::string_view text, std::size_t at, std::string_view lowerCase) {
  return at <= text.size() && text.size() - at >= lowerCase.size() &&
         EqualsIgnoringAsciiCase(text.substr(at, lowerCase.size()), lowerCase);
}

// Without leading and trailing spaces and tabs.
constexpr std::string_view TrimBlanksAndTabs(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// Table keys are non-empty runs of lower-case letters and digits: no dots, spaces or upper case.
constexpr bool IsLowerCaseAlphanumeric(std::string_view text) {
  if (text.empty()) return false;
  for (const char c : text) {
    if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) return false;
  }
  return true;
}

}  // namespace lumivane
