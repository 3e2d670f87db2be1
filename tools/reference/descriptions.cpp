#include "reference/descriptions.h"

#include <algorithm>
#include <set>

#include "platform/ascii_text.h"

namespace lumivane::reference {
namespace {

enum class Section { kNone, kOptions, kKeywords, kTokens, kFormats };

struct SectionName {
  std::string_view header;
  Section section;
};
constexpr SectionName kSections[] = {{"[options]", Section::kOptions},
                                     {"[keywords]", Section::kKeywords},
                                     {"[tokens]", Section::kTokens},
                                     {"[formats]", Section::kFormats}};

std::optional<Section> SectionOfHeader(std::string_view line) {
  for (const SectionName& entry : kSections) {
    if (entry.header == line) return entry.section;
  }
  return std::nullopt;
}

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

// Stores one "name description" line of a section; false when the name is there already.
bool Store(Descriptions& descriptions, Section section, const std::string& name, std::string text) {
  switch (section) {
    case Section::kOptions: {
      const std::size_t equals = name.find('=');
      OptionDescription entry{equals == std::string::npos ? "" : name.substr(equals + 1), std::move(text)};
      return descriptions.options.emplace(name.substr(0, equals), entry).second;
    }
    case Section::kKeywords: return descriptions.keywordNotes.emplace(name, std::move(text)).second;
    case Section::kTokens: return descriptions.tokens.emplace(name, std::move(text)).second;
    case Section::kFormats: return descriptions.formats.emplace(name, std::move(text)).second;
    case Section::kNone: break;
  }
  return false;
}

bool IsComment(std::string_view line) { return line.empty() || line.front() == '#'; }

}  // namespace

std::optional<Descriptions> ParseDescriptions(std::string_view text, std::vector<std::string>& problems) {
  Descriptions descriptions;
  Section section = Section::kNone;
  const std::size_t problemsBefore = problems.size();
  int number = 0;
  for (std::string_view raw : Lines(text)) {
    ++number;
    const std::string_view line = TrimBlanksAndTabs(raw);
    const std::string where = "descriptions line " + std::to_string(number) + ": ";
    if (IsComment(line)) continue;
    if (line.front() == '[') {
      const std::optional<Section> next = SectionOfHeader(line);
      if (!next) problems.push_back(where + "unknown section " + std::string(line));
      section = next.value_or(Section::kNone);
      continue;
    }
    const std::size_t gap = line.find_first_of(" \t");
    const std::string name(line.substr(0, gap));
    const std::string description(gap == std::string_view::npos ? "" : TrimBlanksAndTabs(line.substr(gap)));
    if (section == Section::kNone) {
      problems.push_back(where + "entry before the first section");
    } else if (description.empty()) {
      problems.push_back(where + name + " has no description");
    } else if (!Store(descriptions, section, name, description)) {
      problems.push_back(where + name + " is described twice");
    }
  }
  if (problems.size() != problemsBefore) return std::nullopt;
  return descriptions;
}

std::string KeywordNote(const Descriptions& descriptions, const std::string& option, const std::string& keyword) {
  const auto found = descriptions.keywordNotes.find(option + "=" + keyword);
  return found == descriptions.keywordNotes.end() ? std::string() : found->second;
}

namespace {

void CheckOption(const std::string& name, const std::string& placeholder, bool takesValue,
                 const Descriptions& descriptions, std::vector<std::string>& problems) {
  const auto found = descriptions.options.find(name);
  if (found == descriptions.options.end()) {
    problems.push_back("option " + name + " has no description");
  } else if (!takesValue && !found->second.placeholder.empty()) {
    problems.push_back("option " + name + " takes no value but is described with =" + found->second.placeholder);
  } else if (takesValue && found->second.placeholder.empty()) {
    problems.push_back("option " + name + " takes a value: describe it as " + name + "=VALUE");
  } else if (!placeholder.empty() && found->second.placeholder != placeholder) {
    problems.push_back("option " + name + " is shown as " + name + "=" + placeholder + " in the help");
  }
}

void CheckKeywordNotes(const ReferenceModel& model, const Descriptions& descriptions,
                       std::vector<std::string>& problems) {
  for (const auto& [name, note] : descriptions.keywordNotes) {
    const std::size_t equals = name.find('=');
    const std::string option = name.substr(0, equals);
    const std::string keyword = equals == std::string::npos ? "" : name.substr(equals + 1);
    const auto row = std::find_if(model.advancedOptions.begin(), model.advancedOptions.end(),
                                  [&](const AdvancedOption& candidate) { return candidate.name == option; });
    const bool known = row != model.advancedOptions.end() &&
                       std::find(row->keywords.begin(), row->keywords.end(), keyword) != row->keywords.end();
    if (!known) problems.push_back("keyword note " + name + " names no keyword of an option");
  }
}

template <class Described>
void CheckNames(const std::string& what, const std::vector<std::string>& names, const Described& described,
                std::vector<std::string>& problems) {
  for (const std::string& name : names) {
    if (!described.contains(name)) problems.push_back(what + " " + name + " has no description");
  }
  for (const auto& entry : described) {
    if (std::find(names.begin(), names.end(), entry.first) == names.end()) {
      problems.push_back(what + " " + entry.first + " is described but the program has no such " + what);
    }
  }
}

}  // namespace

std::vector<std::string> CheckDescriptions(const ReferenceModel& model, const Descriptions& descriptions) {
  std::vector<std::string> problems;
  std::vector<std::string> optionNames;
  for (const MainOption& option : model.mainOptions) {
    const bool takesValue = !option.placeholder.empty() || option.value != MainValue::kNone;
    CheckOption(option.longName, option.placeholder, takesValue, descriptions, problems);
    optionNames.push_back(option.longName);
  }
  for (const AdvancedOption& option : model.advancedOptions) {
    CheckOption(option.name, "", option.kind != ValueKind::kFlag, descriptions, problems);
    optionNames.push_back(option.name);
  }
  for (const auto& entry : descriptions.options) {
    if (std::find(optionNames.begin(), optionNames.end(), entry.first) == optionNames.end()) {
      problems.push_back("option " + entry.first + " is described but the program has no such option");
    }
  }
  CheckKeywordNotes(model, descriptions, problems);
  CheckNames("token", model.tokens, descriptions.tokens, problems);
  std::vector<std::string> formats;
  for (const OutputFormatEntry& format : model.outputFormats) formats.push_back(format.identifier);
  CheckNames("format", formats, descriptions.formats, problems);
  return problems;
}

}  // namespace lumivane::reference
