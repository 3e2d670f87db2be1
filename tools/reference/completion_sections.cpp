// The generated part of the bash completion: the option names, what completes after each, and the keywords.
#include "reference/document_text.h"
#include "reference/documents.h"

namespace lumivane::reference {
namespace {

enum class Completes { kNothing, kFiles, kFolders, kFormats };

Completes MainOptionCompletes(const MainOption& option) {
  switch (option.value) {
    case MainValue::kInput:
    case MainValue::kFile: return Completes::kFiles;
    case MainValue::kFolder: return Completes::kFolders;
    case MainValue::kFormat: return Completes::kFormats;
    case MainValue::kNone:
    case MainValue::kCount:
    case MainValue::kShare: break;
  }
  return Completes::kNothing;
}

// Advanced text options whose value is a file name are described with this placeholder.
constexpr std::string_view kFilePlaceholder = "FILE";

// Option names that take a value end in "=", so that completing one leaves the cursor ready for the value.
std::string LongOptionWord(const std::string& name, bool takesValue) { return takesValue ? name + "=" : name; }

struct CompletionLists {
  std::vector<std::string> longOptions, shortOptions;
  // Option names, long and short, by what their value completes as.
  std::vector<std::string> fileOptions, folderOptions, formatOptions;

  // The list of the options whose values complete so; nullptr for values that complete as nothing.
  std::vector<std::string>* Completing(Completes completes) {
    switch (completes) {
      case Completes::kFolders: return &folderOptions;
      case Completes::kFormats: return &formatOptions;
      case Completes::kFiles: return &fileOptions;
      case Completes::kNothing: break;
    }
    return nullptr;
  }
};

CompletionLists Lists(const ReferenceModel& model, const Descriptions& descriptions) {
  CompletionLists lists;
  for (const MainOption& option : model.mainOptions) {
    lists.longOptions.push_back(LongOptionWord(option.longName, option.value != MainValue::kNone));
    // "-?" would be read as a pattern by the shell; "-h" does the same.
    for (const std::string& name : option.shortNames) {
      if (name != "-?") lists.shortOptions.push_back(name);
    }
    if (std::vector<std::string>* names = lists.Completing(MainOptionCompletes(option))) {
      names->push_back(option.longName);
      names->insert(names->end(), option.shortNames.begin(), option.shortNames.end());
    }
  }
  for (const AdvancedOption& option : model.advancedOptions) {
    if (option.scope == OptionScope::kProfileOnly) continue;
    lists.longOptions.push_back(LongOptionWord(option.name, option.kind != ValueKind::kFlag));
    if (option.kind == ValueKind::kText && descriptions.options.at(option.name).placeholder == kFilePlaceholder) {
      lists.fileOptions.push_back(option.name);
    }
  }
  return lists;
}

std::string Assignment(std::string_view name, const std::vector<std::string>& words) {
  return std::string(name) + "='" + Join(words, " ") + "'\n";
}

std::string KeywordFunction(const ReferenceModel& model) {
  std::string out = "_lumivanecmd_keywords() {\n  case ${1,,} in\n";
  for (const AdvancedOption& option : model.advancedOptions) {
    if (option.kind != ValueKind::kKeyword || option.scope == OptionScope::kProfileOnly) continue;
    out += "    " + option.name + ") echo '" + Join(option.keywords, " ") + "' ;;\n";
  }
  return out + "  esac\n}\n";
}

std::string CompletionData(const ReferenceModel& model, const Descriptions& descriptions) {
  const CompletionLists lists = Lists(model, descriptions);
  std::vector<std::string> formats;
  for (const OutputFormatEntry& format : model.outputFormats) formats.push_back(format.identifier);
  return Assignment("_lumivanecmd_long_options", lists.longOptions) +
         Assignment("_lumivanecmd_short_options", lists.shortOptions) + Assignment("_lumivanecmd_formats", formats) +
         Assignment("_lumivanecmd_file_options", lists.fileOptions) +
         Assignment("_lumivanecmd_folder_options", lists.folderOptions) +
         Assignment("_lumivanecmd_format_options", lists.formatOptions) + KeywordFunction(model);
}

}  // namespace

SectionRenderers CompletionSections() { return {.completionData = CompletionData}; }

}  // namespace lumivane::reference
