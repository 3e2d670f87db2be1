// The generated sections of the manual page, in roff with the man macros.
#include <cstdio>

#include "platform/utf8.h"
#include "reference/document_text.h"
#include "reference/documents.h"

namespace lumivane::reference {
namespace {

// Text for a roff line: backslashes and minus signs escaped, other than ASCII as \[uXXXX], and a leading dot or
// quote kept from being read as a request.
std::string Roff(std::string_view text) {
  std::string out;
  if (!text.empty() && (text.front() == '.' || text.front() == '\'')) out += "\\&";
  for (std::size_t at = 0; at < text.size();) {
    const char c = text[at];
    if (static_cast<unsigned char>(c) >= 0x80) {
      const std::optional<Utf8Char> character = DecodeUtf8Char(text, at);
      char buffer[16];
      std::snprintf(buffer, sizeof buffer, "\\[u%04X]",
                    character ? static_cast<unsigned>(character->codePoint) : 0xFFFDu);
      out += buffer;
      at += character ? character->length : 1;
      continue;
    }
    ++at;
    if (c == '\\') {
      out += "\\e";
    } else if (c == '-') {
      out += "\\-";
    } else {
      out += c;
    }
  }
  return out;
}

std::string Bold(std::string_view word) { return "\\fB\\%" + Roff(word) + "\\fR"; }
std::string Italic(std::string_view word) { return "\\fI" + Roff(word) + "\\fR"; }

std::vector<std::string> BoldAll(const std::vector<std::string>& words) {
  std::vector<std::string> marked;
  for (const std::string& word : words) marked.push_back(Bold(word));
  return marked;
}

std::string MainOptions(const ReferenceModel& model, const Descriptions& descriptions) {
  std::string out;
  for (const MainOption& option : model.mainOptions) {
    const std::string placeholder = MainPlaceholder(option, descriptions);
    std::vector<std::string> forms;
    for (const std::string& name : option.shortNames) {
      forms.push_back(Bold(name) + (placeholder.empty() ? "" : " " + Italic(placeholder)));
    }
    forms.push_back(Bold(option.longName) + (placeholder.empty() ? "" : "=" + Italic(placeholder)));
    std::string text = descriptions.options.at(option.longName).text;
    if (const std::string bounds = MainBoundsSentence(option, descriptions); !bounds.empty()) text += " " + bounds;
    out += ".TP\n" + Join(forms, ", ") + "\n" + Roff(text) + "\n";
  }
  return out;
}

std::string ValueSentence(const AdvancedOption& option) {
  if (option.kind == ValueKind::kFlag) return "Takes no value; " + option.defaultValue + " by default.";
  std::string sentence;
  if (option.kind == ValueKind::kKeyword) {
    sentence = "One of " + Join(BoldAll(option.keywords), ", ");
  } else {
    sentence = ValueWords(option);
    sentence[0] = static_cast<char>(sentence[0] - 'a' + 'A');
  }
  if (option.defaultIsPhrase) return sentence + "; by default " + Roff(option.defaultValue) + ".";
  if (option.defaultValue.empty()) return sentence + "; empty by default.";
  return sentence + "; default " + Bold(option.defaultValue) + ".";
}

std::string KeywordNotes(const AdvancedOption& option, const Descriptions& descriptions) {
  std::string notes;
  for (const std::string& keyword : option.keywords) {
    const std::string note = KeywordNote(descriptions, option.name, keyword);
    if (!note.empty()) notes += ".TP\n" + Bold(keyword) + "\n" + Roff(note) + "\n";
  }
  return notes.empty() ? notes : ".RS\n" + notes + ".RE\n";
}

std::string AdvancedOptionEntry(const AdvancedOption& option, const Descriptions& descriptions) {
  const OptionDescription& description = descriptions.options.at(option.name);
  std::string out = ".TP\n" + Bold(option.name);
  if (!description.placeholder.empty()) out += "=" + Italic(description.placeholder);
  out += "\n" + Roff(description.text) + "\n" + ValueSentence(option) + "\n";
  const std::string others = OtherKeywordsNote(option);
  if (!others.empty()) out += Roff(others) + "\n";
  const std::string facts = OptionFacts(option, Bold);
  if (!facts.empty()) out += facts + "\n";
  return out + KeywordNotes(option, descriptions);
}

std::string AdvancedOptions(const ReferenceModel& model, const Descriptions& descriptions) {
  std::string out;
  std::string section;
  for (const AdvancedOption& option : model.advancedOptions) {
    if (option.section != section) {
      section = option.section;
      out += ".SS \"" + Roff(SectionTitle(section)) + "\"\n";
    }
    out += AdvancedOptionEntry(option, descriptions);
  }
  return out;
}

std::string Tokens(const ReferenceModel& model, const Descriptions& descriptions) {
  std::string out;
  for (const std::string& token : model.tokens) {
    out += ".TP\n" + Bold(token) + "\n" + Roff(descriptions.tokens.at(token)) + "\n";
  }
  return out;
}

std::string OutputFormats(const ReferenceModel& model, const Descriptions& descriptions) {
  std::string out;
  for (const OutputFormatEntry& format : model.outputFormats) {
    out += ".TP\n" + Bold(format.identifier) + " \\(em " + Roff(format.description) + "\n";
    out += "Bit depths " + Join(format.bitDepths, ", ") + "; options " + Join(BoldAll(format.encoderOptions), ", ") +
           (format.holdsMetadata ? "; keeps the photo's metadata" : "; holds no metadata") + ".\n";
    out += Roff(descriptions.formats.at(format.identifier)) + "\n";
  }
  return out;
}

std::string RawExtensions(const ReferenceModel& model, const Descriptions& /*unused*/) {
  std::string out;
  for (const RawExtensionGroup& group : model.rawExtensions) {
    if (!out.empty()) out += ".br\n";
    out += Join(BoldAll(group.extensions), ", ") + " \\(em " + Roff(group.description) + "\n";
  }
  return out;
}

}  // namespace

SectionRenderers ManualPageSections() {
  return {.mainOptions = MainOptions,
          .advancedOptions = AdvancedOptions,
          .tokens = Tokens,
          .outputFormats = OutputFormats,
          .rawExtensions = RawExtensions};
}

}  // namespace lumivane::reference
