#pragma once
// What the reference sections of the manual page, the user guide and the bash completion list, gathered from the
// program's own tables: the help screen, the option and keyword tables, the settings defaults, the filename-mask
// tokens and the format registry. The documents are generated from this, so they cannot drift from the code.
#include <optional>
#include <string>
#include <vector>

#include "cli/main_options.h"
#include "cli/option_table.h"

namespace lumivane::reference {

// An option that is not an advanced option: the help screen's (input, output, conversion, profile, quiet, ...),
// then the other rows of the command line's main options (jobs, report, shard, ...).
struct MainOption {
  std::vector<std::string> shortNames;  // "-i"; "-h" and "-?"; empty when there is only the long form
  std::string longName;                 // "--input": the key of its description
  std::string placeholder;              // "FILE" as the help screen shows it; "" for an option without a value or
                                        // not on the help screen
  MainValue value = MainValue::kNone;   // what its value is (kNone for the first-parameter commands)
  std::string bounds;                   // what a number value may be ("a whole number from 0 to 1024"), or ""
};

struct AdvancedOption {
  std::string name;     // as typed, lower case: "--width"
  std::string section;  // the settings group of its target: "Transform"
  ValueKind kind = ValueKind::kInteger;
  // The keywords that take effect, upper case, in code order; for the compression options the format's own list.
  std::vector<std::string> keywords;
  bool acceptsOtherKeywords = false;  // compression: the keywords of the other formats are accepted too
  std::string defaultValue;           // as a user writes it ("95", "BICUBIC", "off"); "" for an empty text
  bool defaultIsPhrase = false;       // the default is words about it ("the time the run starts"), not a value
  std::string alsoSwitchesOn;         // the edit it switches on as well ("resize step"), or ""
  std::string bounds;                 // what the check of its setting allows ("1 to 100"), or ""
  OptionScope scope = OptionScope::kEverywhere;
  std::string nameElsewhere;  // for an option known in one place only: the name of its setting in the other
};

struct OutputFormatEntry {
  std::string identifier;                   // "jpg"
  std::string description;                  // "JPEG File Format"
  std::vector<std::string> bitDepths;       // "8", "24"
  std::vector<std::string> encoderOptions;  // "--jpg-bpp", "--jpg-quality", ...
  bool holdsMetadata = false;               // the photo's metadata is written into its files
};

struct RawExtensionGroup {
  std::string description;  // "Canon Camera RAW Image"
  std::vector<std::string> extensions;
};

struct ReferenceModel {
  std::string programName;   // "lumivanecmd"
  std::string productTitle;  // "Lumivane 3.0"
  std::string version;       // "3.0"
  std::string years;         // "2026"
  std::string maker;
  std::string webAddress;
  std::vector<MainOption> mainOptions;
  std::vector<AdvancedOption> advancedOptions;  // option table order
  std::vector<std::string> tokens;              // expansion order
  std::vector<OutputFormatEntry> outputFormats;
  std::vector<RawExtensionGroup> rawExtensions;
};

// The model, or nothing when a table holds something the documents cannot present (a settings group without a
// section title, a keyword list whose first keyword is not the fallback code 0, a help line that is no option);
// each such fault is added to `problems`.
std::optional<ReferenceModel> BuildReferenceModel(std::vector<std::string>& problems);

// The heading of the advanced options that write settings of `group` ("Transform" -> "Geometry"), or "".
std::string SectionTitle(const std::string& group);

}  // namespace lumivane::reference
