#include "settings/string_table.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/ascii_text.h"
#include "platform/utf8.h"
#include "settings/preferences_reader.h"

namespace lumivane {

namespace {

// The texts the command line shows; the windowed edition's texts would join them in further groups.
constexpr StringPair kBuiltInStrings[] = {
    {"_GROUP_", "General"},
    {"Preparing", "Preparing..."},
    {"Importing", "Importing..."},
    {"Converting", "Converting..."},

    {"_GROUP_", "Msg"},
    {"Import complete", "Import complete, new files added: %s1%"},
    {"Empty input files", "No input file(s) found. Please, add valid file(s) and try again!"},
    {"Conversion complete", "Conversion complete"},
    {"Conversion is not complete", "Conversion stopped"},
    {"Files converted", "Files converted: %s1% of %s2%"},

    {"_END_", ""},
};

constexpr bool IsAsciiKey(std::string_view key) {
  if (key.empty()) return false;
  return std::all_of(key.begin(), key.end(), [](char c) { return c > 0x1F && c < 0x7F; });
}

// The list opens with a group and ends with "_END_"; keys are ASCII (the first-character index has 256 slots)
// and unique within their group.
constexpr bool IsWellFormed(std::span<const StringPair> pairs) {
  if (pairs.empty() || std::string_view(pairs.front().first) != "_GROUP_") return false;
  if (std::string_view(pairs.back().first) != "_END_") return false;
  size_t groupStart = 0;
  for (size_t i = 0; i + 1 < pairs.size(); ++i) {
    const std::string_view first = pairs[i].first;
    if (first == "_END_") return false;
    if (first == "_GROUP_") {
      groupStart = i + 1;
      continue;
    }
    if (!IsAsciiKey(first)) return false;
    for (size_t j = groupStart; j < i; ++j)
      if (EqualsIgnoringAsciiCase(first, pairs[j].first)) return false;
  }
  return true;
}
static_assert(IsWellFormed(kBuiltInStrings), "malformed built-in text list");

struct StringGroup {
  std::string name;  // upper case
  size_t firstEntry = 0;
  size_t lastEntry = 0;                        // below firstEntry when the group is empty
  std::array<size_t, 256> firstByCharacter{};  // 0: no key of the group begins with that character
};

struct StringEntry {
  std::string key;          // upper case
  std::u16string keyUnits;  // the key's UTF-16 code units, the order of the entries within a group
  std::string text;
};

// Element 0 of both lists stands for "none".
struct StringTable {
  std::vector<StringGroup> groups;
  std::vector<StringEntry> entries;
};

StringTable gStringTable;
// The group of this thread's previous lookup, tried first by the next one.
thread_local size_t tRememberedGroup = 0;

void SortAndIndexGroup(StringTable& table, StringGroup& group) {
  if (group.lastEntry < group.firstEntry) return;
  const auto begin = table.entries.begin() + static_cast<std::ptrdiff_t>(group.firstEntry);
  const auto end = table.entries.begin() + static_cast<std::ptrdiff_t>(group.lastEntry + 1);
  std::stable_sort(begin, end, [](const StringEntry& a, const StringEntry& b) { return a.keyUnits < b.keyUnits; });
  for (size_t e = group.firstEntry; e <= group.lastEntry; ++e) {
    const std::u16string& units = table.entries[e].keyUnits;
    if (units.empty() || units[0] >= group.firstByCharacter.size()) continue;
    size_t& slot = group.firstByCharacter[units[0]];
    if (slot == 0) slot = e;
  }
}

size_t FindGroup(const StringTable& table, const std::string& name) {
  for (size_t g = 1; g < table.groups.size(); ++g)
    if (table.groups[g].name == name) return g;
  return 0;
}

}  // namespace

void BuildStringTable(const std::string& languageFile) {
  BuildStringTableFrom(kBuiltInStrings);
  if (languageFile.empty()) return;
  const std::optional<PreferencesFile> language = ReadPreferencesFile(languageFile);
  if (!language) return;
  ApplyStringOverrides([&language](const std::string& group, const std::string& key, const std::string& fallback) {
    return ReadPreferencesString(*language, group, key, fallback);
  });
}

void BuildStringTableFrom(std::span<const StringPair> pairs) {
  StringTable table;
  table.groups.resize(1);
  table.entries.resize(1);
  for (const StringPair& pair : pairs) {
    const std::string_view first = pair.first;
    if (first == "_END_") break;
    if (first == "_GROUP_") {
      StringGroup group;
      group.name = AsciiUpper(pair.second);
      group.firstEntry = table.entries.size();
      group.lastEntry = table.entries.size() - 1;
      table.groups.push_back(group);
      continue;
    }
    if (table.groups.size() == 1) continue;  // a pair before the first group belongs nowhere
    std::string key = AsciiUpper(pair.first);
    std::u16string keyUnits = ToUtf16Units(key);
    table.entries.push_back(StringEntry{std::move(key), std::move(keyUnits), pair.second});
    table.groups.back().lastEntry = table.entries.size() - 1;
  }
  for (size_t g = 1; g < table.groups.size(); ++g) SortAndIndexGroup(table, table.groups[g]);
  gStringTable = std::move(table);
}

void ApplyStringOverrides(const StringOverrideLookup& lookup) {
  for (size_t g = 1; g < gStringTable.groups.size(); ++g) {
    const StringGroup& group = gStringTable.groups[g];
    for (size_t e = group.firstEntry; e <= group.lastEntry; ++e) {
      StringEntry& entry = gStringTable.entries[e];
      entry.text = lookup(group.name, entry.key, entry.text);
    }
  }
}

std::string LookupString(const std::string& group, const std::string& key) {
  const StringTable& table = gStringTable;
  const std::string groupName = AsciiUpper(group);
  size_t g = tRememberedGroup;
  if (g == 0 || g >= table.groups.size() || table.groups[g].name != groupName) {
    g = FindGroup(table, groupName);
    tRememberedGroup = g;
    if (g == 0) return kNoStringText;
  }
  const StringGroup& found = table.groups[g];

  const std::u16string units = ToUtf16Units(AsciiUpper(key));
  if (units.empty() || units[0] >= found.firstByCharacter.size()) return kNoStringText;
  // Entries are sorted: scan forward from the first key with the same first character, stop once past it.
  for (size_t e = found.firstByCharacter[units[0]]; e != 0 && e <= found.lastEntry; ++e) {
    const int order = units.compare(table.entries[e].keyUnits);
    if (order == 0) return table.entries[e].text;
    if (order < 0) break;
  }
  return kNoStringText;
}

}  // namespace lumivane
