#include "reference/document_text.h"

namespace lumivane::reference {

std::string Join(const std::vector<std::string>& pieces, std::string_view separator, std::string_view before,
                 std::string_view after) {
  std::string joined;
  for (const std::string& piece : pieces) {
    if (!joined.empty()) joined += separator;
    joined.append(before).append(piece).append(after);
  }
  return joined;
}

namespace {

std::string ValueKindWords(ValueKind kind) {
  switch (kind) {
    case ValueKind::kInteger: return "whole number";
    case ValueKind::kReal: return "decimal number";
    case ValueKind::kText: return "text";
    case ValueKind::kKeyword: return "keyword";
    case ValueKind::kFlag: return "";
  }
  return "";
}

}  // namespace

std::string ValueWords(const AdvancedOption& option) {
  const std::string kind = ValueKindWords(option.kind);
  return option.bounds.empty() ? kind : kind + ", " + option.bounds;
}

std::string MainPlaceholder(const MainOption& option, const Descriptions& descriptions) {
  const auto found = descriptions.options.find(option.longName);
  return found == descriptions.options.end() ? option.placeholder : found->second.placeholder;
}

std::string MainBoundsSentence(const MainOption& option, const Descriptions& descriptions) {
  if (option.bounds.empty()) return {};
  return MainPlaceholder(option, descriptions) + ": " + option.bounds + ".";
}

std::string OptionFacts(const AdvancedOption& option, MarkCode code) {
  std::string facts;
  if (option.scope == OptionScope::kCommandLineOnly) {
    facts += "Command line only; a profile file sets the same value with " + code(option.nameElsewhere) + ".";
  } else if (option.scope == OptionScope::kProfileOnly) {
    facts += "Profile files only; on the command line the same value is set with " + code(option.nameElsewhere) + ".";
  }
  if (!option.alsoSwitchesOn.empty()) {
    if (!facts.empty()) facts += ' ';
    facts += "Also switches on the " + option.alsoSwitchesOn + ".";
  }
  return facts;
}

std::string OtherKeywordsNote(const AdvancedOption& option) {
  if (!option.acceptsOtherKeywords) return {};
  return "The compression keywords of the other formats are accepted too and stand for their number in their own list; "
         "a number past the end of this list leaves the choice to the encoder.";
}

}  // namespace lumivane::reference
