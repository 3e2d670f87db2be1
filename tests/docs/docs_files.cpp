#include "docs/docs_files.h"

#include "cli/option_table.h"
#include "platform/ascii_text.h"
#include "reference/reference_model.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace lumivane::testing {

std::string SourceFile(const std::string& relative) { return SourceDir() + "/" + relative; }

std::string ReadSourceFile(const std::string& relative) { return ReadFileBytes(SourceFile(relative)); }

std::set<std::string> AdvancedOptionNames(bool commandLineOnly) {
  std::set<std::string> names;
  for (const OptionRow& row : OptionTable()) {
    if (commandLineOnly && row.scope == OptionScope::kProfileOnly) continue;
    names.insert(AsciiLower(row.name));
  }
  return names;
}

std::set<std::string> MainOptionNames() {
  std::vector<std::string> problems;
  std::set<std::string> names;
  if (const auto model = reference::BuildReferenceModel(problems)) {
    for (const reference::MainOption& option : model->mainOptions) names.insert(option.longName);
  }
  return names;
}

std::string NameDifference(const std::set<std::string>& shown, const std::set<std::string>& expected) {
  std::string missing, extra;
  for (const std::string& name : expected) {
    if (!shown.contains(name)) missing += " " + name;
  }
  for (const std::string& name : shown) {
    if (!expected.contains(name)) extra += " " + name;
  }
  if (missing.empty() && extra.empty()) return "";
  return "missing:" + (missing.empty() ? " none" : missing) +
         "; not in the program:" + (extra.empty() ? " none" : extra);
}

std::vector<std::string> SplitIntoLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

}  // namespace lumivane::testing
