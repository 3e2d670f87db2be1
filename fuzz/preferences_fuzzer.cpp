// Preferences files (the configuration file and profiles) from any bytes, and the value rules used on them.
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "settings/preferences_reader.h"
#include "settings/preferences_values.h"

using namespace lumivane;
using lumivane::fuzzing::Require;

namespace {

bool HasLineEnd(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

bool IsTrimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  return text.empty() || (!blank(text.front()) && !blank(text.back()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzzing::AsText(data, size);
  const PreferencesFile file = ParsePreferences(bytes);

  std::size_t lines = 1;
  for (const char c : bytes) lines += (c == '\r' || c == '\n') ? 1 : 0;
  std::size_t items = file.groups.size();
  for (const PreferencesGroup& group : file.groups) {
    items += group.entries.size();
    Require(!HasLineEnd(group.name), "a group name is within one line");
    Require(group.name.find(']') == std::string::npos, "a group name ends at the first bracket");
    const PreferencesGroup* found = FindPreferencesGroup(file, group.name);
    Require(found != nullptr && found <= &group, "the first group of a name is found");
    for (const PreferencesEntry& entry : group.entries) {
      Require(!HasLineEnd(entry.key) && !HasLineEnd(entry.value), "an entry is within one line");
      Require(IsTrimmed(entry.key) && IsTrimmed(entry.value), "keys and values are trimmed");
      Require(entry.key.find('=') == std::string::npos, "a key ends at the first equals sign");
      const std::string* value = FindPreferencesValue(file, group.name, entry.key);
      if (found == &group) Require(value != nullptr, "every entry of the first group of its name can be read");
      (void)ReadPreferencesInteger(file, group.name, entry.key, 0);
      (void)ReadPreferencesFloat(file, group.name, entry.key, 0.0f);
      (void)FormatPreferencesFloat(ParsePreferencesFloat(entry.value));
      (void)ParsePreferencesInteger(entry.value);
    }
  }
  Require(items <= lines, "at most one group or entry per line");

  // The value rules on the raw bytes too (embedded NULs, any length).
  (void)ParsePreferencesInteger(bytes);
  const float value = ParsePreferencesFloat(bytes);
  const std::string formatted = FormatPreferencesFloat(value);
  Require(!formatted.empty(), "every float can be written");
  return 0;
}
