#pragma once
// Paths and contents of the committed documents, and the option names they must show.
#include <set>
#include <string>
#include <vector>

namespace lumivane::testing {

// A file of the source tree, by its path relative to the tree's top.
std::string SourceFile(const std::string& relative);
std::string ReadSourceFile(const std::string& relative);

// The advanced option names of the option table in lower case, as users type them. Options known only in profile
// files are left out when `commandLineOnly` is set.
std::set<std::string> AdvancedOptionNames(bool commandLineOnly);

// The long names of the help screen's options that are not advanced options: "--input", "--profile", ...
std::set<std::string> MainOptionNames();

// "" when the names a document shows are the expected ones, else which are missing and which are extra.
std::string NameDifference(const std::set<std::string>& shown, const std::set<std::string>& expected);

// The document's lines (LF-separated; a final CR is removed).
std::vector<std::string> SplitIntoLines(const std::string& text);

}  // namespace lumivane::testing
