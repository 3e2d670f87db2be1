#include "reference/reference_model.h"

#include <cstdio>
#include <string_view>

#include "batch/output_naming.h"
#include "cli/help_text.h"
#include "cli/keyword_tables.h"
#include "settings/product.h"
#include "cli/value_rules.h"
#include "formats/registry.h"
#include "settings/settings.h"
#include "settings/settings_table.h"

namespace lumivane::reference {
namespace {

constexpr std::string_view kProgramName = "lumivanecmd";
// The help screen's option column is 28 characters wide, two of them the indent.
constexpr std::size_t kHelpIndent = 2;
constexpr std::size_t kHelpOptionColumn = 28;

struct SectionRow {
  std::string_view group;
  std::string_view title;
};
constexpr SectionRow kSectionTitles[] = {
    {"Input", "Decoding of RAW input"},
    {"Output", "Output encoders"},
    {"Transform", "Geometry"},
    {"Adjustment", "Colours"},
    {"Frame", "Solid frame"},
    {"Watermark", "Watermark"},
    {"Advanced", "Output names and file times"},
};

// Settings whose default is fixed when a run starts rather than in the settings table.
struct RunTimeDefault {
  std::string_view setting;
  std::string_view shown;
};
constexpr RunTimeDefault kRunTimeDefaults[] = {{"Advanced/Custom Timestamp", "the time the run starts"}};

// On/off settings that a reverse-only keyword table names, so that "switches on" can say which kind.
struct KindSetting {
  std::string_view setting;
  KeywordTable names;
  std::string_view noun;
};
constexpr KindSetting kKindSettings[] = {{"Frame/Do Frame", KeywordTable::kFrameKind, "frame"},
                                         {"Watermark/Do Watermark", KeywordTable::kWatermarkKind, "watermark"}};

std::vector<std::string> SplitAt(std::string_view text, std::string_view separator) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  for (std::size_t at = text.find(separator); at != std::string_view::npos; at = text.find(separator, start)) {
    pieces.emplace_back(text.substr(start, at - start));
    start = at + separator.size();
  }
  pieces.emplace_back(text.substr(start));
  return pieces;
}

// "-i FILE, --input=FILE" -> {-i}, --input, FILE. False when a form is not an option.
bool ParseHelpOptionColumn(std::string_view column, MainOption& option) {
  for (const std::string& form : SplitAt(column, ", ")) {
    if (form.size() < 2 || form[0] != '-') return false;
    const bool isLong = form.starts_with("--");
    const std::size_t split = form.find(isLong ? '=' : ' ');
    const std::string name = form.substr(0, split);
    if (split != std::string::npos) option.placeholder = form.substr(split + 1);
    if (isLong) {
      option.longName = name;
    } else {
      option.shortNames.push_back(name);
    }
  }
  return !option.longName.empty();
}

// The options of the help screen that the option table does not hold, in screen order.
std::vector<MainOption> MainOptionsFromHelp(std::vector<std::string>& problems) {
  std::vector<MainOption> options;
  for (const std::string& line : HelpLines(std::string(kProgramName), {"raw"}, "bmp")) {
    if (line.size() <= kHelpIndent || line.compare(0, kHelpIndent + 1, "  -") != 0) continue;
    const std::string column(TrimBlanks(std::string_view(line).substr(0, kHelpOptionColumn).substr(kHelpIndent)));
    MainOption option;
    if (!ParseHelpOptionColumn(column, option)) {
      problems.push_back("help line is not an option with a long name: " + line);
      continue;
    }
    if (FindOption(option.longName, false) == nullptr) options.push_back(option);
  }
  return options;
}

std::string FormatIdentifierOfSetting(const SettingRow& row) {
  return AsciiLower(row.key.substr(0, row.key.find(' ')));
}

std::vector<std::string> KeywordsOfOption(const OptionRow& row, bool& acceptsOthers) {
  std::vector<std::string> keywords;
  acceptsOthers = false;
  if (row.keywords == KeywordTable::kCompression) {
    const std::string format = FormatIdentifierOfSetting(*row.target);
    for (const CompressionNames& names : kCompressionNamesByFormat) {
      if (names.formatIdentifier != format) continue;
      for (std::string_view keyword : names.keywordsByCode) keywords.emplace_back(keyword);
    }
    acceptsOthers = true;
    return keywords;
  }
  for (const Keyword& entry : KeywordsOf(row.keywords)) keywords.emplace_back(entry.keyword);
  return keywords;
}

std::string KeywordDefault(const OptionRow& row, std::int32_t code) {
  if (row.keywords == KeywordTable::kCompression) {
    return AsciiUpper(CompressionKeywordName(FormatIdentifierOfSetting(*row.target), code));
  }
  return AsciiUpper(KeywordName(row.keywords, code));
}

std::string RunTimeDefaultOf(const OptionRow& row) {
  const std::string setting = SettingName(*row.target);
  for (const RunTimeDefault& special : kRunTimeDefaults) {
    if (special.setting == setting) return std::string(special.shown);
  }
  return {};
}

std::string DefaultOf(const OptionRow& row, const Settings& defaults) {
  std::int32_t number = 0;
  float real = 0.0f;
  std::string text;
  switch (row.kind) {
    case ValueKind::kInteger: GetSetting(defaults, *row.target, number); return std::to_string(number);
    case ValueKind::kReal: {
      GetSetting(defaults, *row.target, real);
      char buffer[32];
      std::snprintf(buffer, sizeof buffer, "%.2f", static_cast<double>(real));
      return buffer;
    }
    case ValueKind::kText: GetSetting(defaults, *row.target, text); return text;
    case ValueKind::kKeyword: GetSetting(defaults, *row.target, number); return KeywordDefault(row, number);
    case ValueKind::kFlag: GetSetting(defaults, *row.target, number); return number == row.flagValue ? "on" : "off";
  }
  return {};
}

// "resize step", "text watermark", "solid frame".
std::string SwitchedOnBy(const OptionRow& row) {
  if (row.also == nullptr) return {};
  const std::string setting = SettingName(*row.also);
  for (const KindSetting& kind : kKindSettings) {
    if (kind.setting == setting) return KeywordName(kind.names, row.alsoValue) + " " + std::string(kind.noun);
  }
  std::string_view what = row.also->key;
  for (std::string_view prefix : {"Do Image ", "Do "}) {
    if (what.starts_with(prefix)) what.remove_prefix(prefix.size());
  }
  return AsciiLower(what) + " step";
}

// The name under which the other way in (command line or profile) reaches the same setting.
std::string NameElsewhere(const OptionRow& row) {
  if (row.scope == OptionScope::kEverywhere) return {};
  for (const OptionRow& other : OptionTable()) {
    if (other.target == row.target && other.scope != row.scope) return AsciiLower(other.name);
  }
  return {};
}

bool FallbackIsFirstKeyword(const OptionRow& row, const std::vector<std::string>& keywords) {
  return !keywords.empty() && KeywordValue(row.keywords, keywords.front()) == 0;
}

std::vector<AdvancedOption> AdvancedOptions(std::vector<std::string>& problems) {
  Settings defaults;
  ResetSettings(defaults, true);
  std::vector<AdvancedOption> options;
  for (const OptionRow& row : OptionTable()) {
    AdvancedOption option;
    option.name = AsciiLower(row.name);
    option.section = std::string(row.target->group);
    option.kind = row.kind;
    option.scope = row.scope;
    option.nameElsewhere = NameElsewhere(row);
    if (row.kind == ValueKind::kKeyword) {
      option.keywords = KeywordsOfOption(row, option.acceptsOtherKeywords);
      if (!FallbackIsFirstKeyword(row, option.keywords)) {
        problems.push_back(option.name + ": an unknown keyword gives code 0, which is not its first keyword");
      }
    }
    option.defaultValue = RunTimeDefaultOf(row);
    option.defaultIsPhrase = !option.defaultValue.empty();
    if (!option.defaultIsPhrase) option.defaultValue = DefaultOf(row, defaults);
    option.alsoSwitchesOn = SwitchedOnBy(row);
    if (SectionTitle(option.section).empty()) problems.push_back(option.name + ": no section for " + option.section);
    options.push_back(option);
  }
  return options;
}

std::vector<OutputFormatEntry> OutputFormats(const std::vector<AdvancedOption>& options) {
  std::vector<OutputFormatEntry> formats;
  for (const OutputFormat& format : OutputFormatTable()) {
    OutputFormatEntry entry{
        std::string(format.identifier), std::string(format.description), SplitAt(format.allowedBitDepths, ","), {}};
    const std::string prefix = "--" + entry.identifier + "-";
    for (const AdvancedOption& option : options) {
      if (option.section == "Output" && option.name.starts_with(prefix)) entry.encoderOptions.push_back(option.name);
    }
    formats.push_back(entry);
  }
  return formats;
}

std::vector<RawExtensionGroup> AcceptedExtensions() {
  std::vector<RawExtensionGroup> groups;
  for (const InputExtension& entry : InputExtensionTable()) {
    if (!IsAcceptedExtension(entry.extension)) continue;
    if (groups.empty() || groups.back().description != entry.description) {
      groups.push_back({std::string(entry.description), {}});
    }
    groups.back().extensions.emplace_back(entry.extension);
  }
  return groups;
}

}  // namespace

std::string SectionTitle(const std::string& group) {
  for (const SectionRow& row : kSectionTitles) {
    if (row.group == group) return std::string(row.title);
  }
  return {};
}

std::optional<ReferenceModel> BuildReferenceModel(std::vector<std::string>& problems) {
  BuildRegistry();
  const std::size_t problemsBefore = problems.size();
  ReferenceModel model;
  model.programName = std::string(kProgramName);
  model.productTitle = ProductTitle();
  model.version = VersionText(kProductVersion);
  model.years = kCopyrightYears;
  model.maker = kMakerName;
  model.webAddress = kWebAddress;
  model.mainOptions = MainOptionsFromHelp(problems);
  model.advancedOptions = AdvancedOptions(problems);
  for (const TokenRow& row : kTokenTable) model.tokens.emplace_back(row.token);
  model.outputFormats = OutputFormats(model.advancedOptions);
  model.rawExtensions = AcceptedExtensions();
  if (problems.size() != problemsBefore) return std::nullopt;
  return model;
}

}  // namespace lumivane::reference
