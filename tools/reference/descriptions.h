#pragma once
// The hand-written one-line descriptions of the reference sections, kept in a text file beside the documents
// (docs/reference-descriptions.txt) and checked against the program's tables: every option, token and output
// format needs a description, and a description of something the program no longer has is an error.
//
// File format: "# ..." lines and blank lines are ignored; "[options]", "[keywords]", "[tokens]" and "[formats]"
// open a section; every other line is a name, one or more blanks, and the description.
//   [options]   --width=NUM  Width ...        (the value placeholder after "="; flags have none)
//   [keywords]  --raw-tone-mapping=AL  ...    (optional notes on single value keywords)
//   [tokens]    %filename%  ...
//   [formats]   jpg  ...                      (what the format's encoder settings do)
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "reference/reference_model.h"

namespace lumivane::reference {

struct OptionDescription {
  std::string placeholder;  // "NUM"; "" for options without a value
  std::string text;
};

struct Descriptions {
  std::map<std::string, OptionDescription> options;  // keyed by the option name in lower case: "--width"
  std::map<std::string, std::string> keywordNotes;   // "--raw-tone-mapping=AL"
  std::map<std::string, std::string> tokens;         // "%filename%"
  std::map<std::string, std::string> formats;        // "jpg"
};

// The descriptions in `text`, or nothing when a line is malformed or a name is given twice (added to `problems`
// with its line number).
std::optional<Descriptions> ParseDescriptions(std::string_view text, std::vector<std::string>& problems);

// Every mismatch between the descriptions and the model, one line each; empty when they agree.
std::vector<std::string> CheckDescriptions(const ReferenceModel& model, const Descriptions& descriptions);

// The note on one keyword of an option, or "".
std::string KeywordNote(const Descriptions& descriptions, const std::string& option, const std::string& keyword);

}  // namespace lumivane::reference
