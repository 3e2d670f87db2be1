#pragma once
// Writing preferences files: UTF-8 text that starts with EF BB BF and an empty line, every line ending in CR LF.
// The text is built in memory and then written whole.
#include <string>
#include <string_view>

namespace lumivane {

// The byte-order mark and the empty first line.
std::string BeginPreferencesText();
// "[name]"
void AppendPreferencesGroup(std::string& text, std::string_view name);
// "key = value"
void AppendPreferencesEntry(std::string& text, std::string_view key, std::string_view value);
// "; comment"
void AppendPreferencesComment(std::string& text, std::string_view comment);

// Replaces the file with the text. The text goes to a temporary file beside it first and is renamed onto the
// path only when every write succeeded, so a failed save leaves the previous file intact. False on failure.
bool WritePreferencesFile(const std::string& path, std::string_view text);

}  // namespace lumivane
