// The generated sections of the user guide, in Markdown tables.
#include "reference/document_text.h"
#include "reference/documents.h"

namespace lumivane::reference {
namespace {

// Plain text for a table cell: characters that Markdown would read as markup are escaped.
std::string Cell(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '|' || c == '*' || c == '_' || c == '`' || c == '<' || c == '\\') out += '\\';
    out += c;
  }
  return out;
}

std::string Code(std::string_view word) { return "`" + std::string(word) + "`"; }

std::vector<std::string> CodeAll(const std::vector<std::string>& words) {
  std::vector<std::string> marked;
  for (const std::string& word : words) marked.push_back(Code(word));
  return marked;
}

std::string Row(const std::vector<std::string>& cells) { return "| " + Join(cells, " | ") + " |\n"; }

std::string Header(const std::vector<std::string>& titles) {
  return Row(titles) + Row(std::vector<std::string>(titles.size(), "---"));
}

std::string MainOptions(const ReferenceModel& model, const Descriptions& descriptions) {
  std::string out = Header({"Option", "Description"});
  for (const MainOption& option : model.mainOptions) {
    const std::string placeholder = MainPlaceholder(option, descriptions);
    std::vector<std::string> forms;
    for (const std::string& name : option.shortNames) {
      forms.push_back(Code(placeholder.empty() ? name : name + " " + placeholder));
    }
    forms.push_back(Code(placeholder.empty() ? option.longName : option.longName + "=" + placeholder));
    std::string text = descriptions.options.at(option.longName).text;
    if (const std::string bounds = MainBoundsSentence(option, descriptions); !bounds.empty()) text += " " + bounds;
    out += Row({Join(forms, ", "), Cell(text)});
  }
  return out;
}

std::string ValueCell(const AdvancedOption& option) {
  if (option.kind == ValueKind::kKeyword) return Join(CodeAll(option.keywords), ", ");
  if (option.kind == ValueKind::kFlag) return "none";
  return ValueWords(option);
}

std::string DefaultCell(const AdvancedOption& option) {
  if (option.defaultIsPhrase) return Cell(option.defaultValue);
  if (option.kind == ValueKind::kFlag) return option.defaultValue;
  if (option.defaultValue.empty()) return "empty";
  return Code(option.defaultValue);
}

std::string DescriptionCell(const AdvancedOption& option, const Descriptions& descriptions) {
  std::string cell = Cell(descriptions.options.at(option.name).text);
  for (const std::string& sentence : {OtherKeywordsNote(option), OptionFacts(option, Code)}) {
    if (!sentence.empty()) cell += " " + sentence;
  }
  for (const std::string& keyword : option.keywords) {
    const std::string note = KeywordNote(descriptions, option.name, keyword);
    if (!note.empty()) cell += "<br>" + Code(keyword) + ": " + Cell(note);
  }
  return cell;
}

std::string AdvancedOptions(const ReferenceModel& model, const Descriptions& descriptions) {
  std::string out;
  std::string section;
  for (const AdvancedOption& option : model.advancedOptions) {
    if (option.section != section) {
      section = option.section;
      out += (out.empty() ? "" : "\n") + std::string("#### ") + SectionTitle(section) + "\n\n";
      out += Header({"Option", "Value", "Default", "Description"});
    }
    const std::string& placeholder = descriptions.options.at(option.name).placeholder;
    out += Row({Code(placeholder.empty() ? option.name : option.name + "=" + placeholder), ValueCell(option),
                DefaultCell(option), DescriptionCell(option, descriptions)});
  }
  return out;
}

std::string Tokens(const ReferenceModel& model, const Descriptions& descriptions) {
  std::string out = Header({"Token", "Stands for"});
  for (const std::string& token : model.tokens) out += Row({Code(token), Cell(descriptions.tokens.at(token))});
  return out;
}

std::string OutputFormats(const ReferenceModel& model, const Descriptions& descriptions) {
  std::string out = Header({"Format", "Description", "Bit depths", "Metadata", "Options", "Encoder settings"});
  for (const OutputFormatEntry& format : model.outputFormats) {
    out += Row({Code(format.identifier), Cell(format.description), Join(format.bitDepths, ", "),
                format.holdsMetadata ? "kept" : "none", Join(CodeAll(format.encoderOptions), " "),
                Cell(descriptions.formats.at(format.identifier))});
  }
  return out;
}

std::string RawExtensions(const ReferenceModel& model, const Descriptions& /*unused*/) {
  std::string out = Header({"Extensions", "Files"});
  for (const RawExtensionGroup& group : model.rawExtensions) {
    out += Row({Join(CodeAll(group.extensions), ", "), Cell(group.description)});
  }
  return out;
}

}  // namespace

SectionRenderers UserGuideSections() {
  return {.mainOptions = MainOptions,
          .advancedOptions = AdvancedOptions,
          .tokens = Tokens,
          .outputFormats = OutputFormats,
          .rawExtensions = RawExtensions};
}

}  // namespace lumivane::reference
