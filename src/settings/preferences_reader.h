#pragma once
// Reading preferences files (the configuration file and profile files): INI-like groups of "key = value" lines.
// A file starting with EF BB BF is UTF-8; any other file is ISO-8859-1 and is turned into UTF-8 here. Lines end at
// CR, LF or CR LF; blanks and tabs at a line's start are skipped; ";" starts a comment; "[" a group header whose
// name runs to the next "]" (or the line's end). Every other line is an entry: the key runs to the first "="
// without trailing blanks, the value follows with blanks trimmed at both ends. A line without "=" is an entry with
// an empty value. Entries before the first group header belong to no group and cannot be read.
// Group and key names match without regard to ASCII letter case; the first matching group, and within it the
// first matching entry, wins. Reading never writes to the file; files above 64 MiB count as unreadable.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lumivane {

struct PreferencesEntry {
  std::string key;
  std::string value;
};

struct PreferencesGroup {
  std::string name;
  std::vector<PreferencesEntry> entries;  // in file order
};

struct PreferencesFile {
  std::vector<PreferencesGroup> groups;  // in file order; a name may occur more than once
};

// Parses the bytes of a whole preferences file.
PreferencesFile ParsePreferences(std::string_view bytes);
// Reads and parses a file; empty when it cannot be opened or read, or is no regular file (a folder, a pipe, a
// device, a missing file). A pipe is never waited on.
std::optional<PreferencesFile> ReadPreferencesFile(const std::string& path);

// The first group of that name, or nullptr.
const PreferencesGroup* FindPreferencesGroup(const PreferencesFile& file, std::string_view group);
// The entries of the first group of that name in file order; empty when there is no such group.
std::span<const PreferencesEntry> PreferencesGroupEntries(const PreferencesFile& file, std::string_view group);
// The first entry of that key in the group, or nullptr.
const PreferencesEntry* FindPreferencesEntry(const PreferencesGroup& group, std::string_view key);
// The value of key in group, or nullptr when either is absent.
const std::string* FindPreferencesValue(const PreferencesFile& file, std::string_view group, std::string_view key);

// Values by key with a fallback for an absent key; numbers follow preferences_values.h.
std::string ReadPreferencesString(const PreferencesFile& file, std::string_view group, std::string_view key,
                                  std::string_view fallback);
std::int32_t ReadPreferencesInteger(const PreferencesFile& file, std::string_view group, std::string_view key,
                                    std::int32_t fallback);
float ReadPreferencesFloat(const PreferencesFile& file, std::string_view group, std::string_view key,
                           float fallback);

}  // namespace lumivane
