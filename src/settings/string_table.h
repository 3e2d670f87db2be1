#pragma once
// The string table: the program's user-visible texts, addressed by group and key.
#include <functional>
#include <span>
#include <string>

namespace lumivane {

// What LookupString returns for a group or key that does not exist.
inline constexpr const char* kNoStringText = "%NO_STRING_ERROR%";

// One pair of a text list: ("_GROUP_", name) opens a group, a pair whose first text is "_END_" ends the list,
// and any other pair is (key, text) in the group opened last.
struct StringPair {
  const char* first;
  const char* second;
};

// Builds the table from the built-in texts; when languageFile names a readable preferences file, its values
// (group and key matched without regard to case) replace them. The command line passes an empty name.
void BuildStringTable(const std::string& languageFile);

// Builds the table from the given list instead of the built-in one.
void BuildStringTableFrom(std::span<const StringPair> pairs);

// Gives each entry's text for a group and key (both upper case), with the current text as the fallback.
using StringOverrideLookup =
    std::function<std::string(const std::string& group, const std::string& key, const std::string& fallback)>;

// Replaces every entry's text by what the lookup gives for it (for example a language file's value).
void ApplyStringOverrides(const StringOverrideLookup& lookup);

// The text of the entry, group and key matched without regard to case; kNoStringText when either is missing.
// Safe to call from several threads once the table is built.
std::string LookupString(const std::string& group, const std::string& key);

}  // namespace lumivane
