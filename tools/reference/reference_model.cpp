#include "reference/reference_model.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "cli/help_text.h"
#include "cli/value_rules.h"
#include "formats/registry.h"
#include "platform/ascii_text.h"
#include "settings/name_tokens.h"
#include "settings/product.h"
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

std::string MainOptionBounds(const MainOptionRow& row) {
  const std::string low = std::to_string(row.low), high = std::to_string(row.high);
  switch (row.value) {
    case MainValue::kCount: return "a whole number from " + low + " to " + high;
    case MainValue::kShare: return "whole numbers with " + low + " <= K <= N <= " + high;
    default: return {};
  }
}

MainOption FromMainOptionRow(MainOption option, const MainOptionRow& row) {
  option.value = row.value;
  option.bounds = MainOptionBounds(row);
  return option;
}

// The options of the help screen that the option table does not hold, in screen order, then the main options that
// the help screen leaves out.
std::vector<MainOption> MainOptions(std::vector<std::string>& problems) {
  std::vector<MainOption> options;
  for (const std::string& line : HelpLines(std::string(kProgramName), {"raw"}, "bmp")) {
    if (line.size() <= kHelpIndent || line.compare(0, kHelpIndent + 1, "  -") != 0) continue;
    const std::string column(TrimBlanks(std::string_view(line).substr(0, kHelpOptionColumn).substr(kHelpIndent)));
    MainOption option;
    if (!ParseHelpOptionColumn(column, option)) {
      problems.push_back("help line is not an option with a long name: " + line);
      continue;
    }
    if (FindOption(option.longName, false) != nullptr) continue;
    const MainOptionRow* row = FindMainOption(AsciiUpper(option.longName));
    options.push_back(row != nullptr ? FromMainOptionRow(option, *row) : option);
  }
  for (const MainOptionRow& row : MainOptionTable()) {
    const std::string longName = AsciiLower(row.longKey);
    const bool listed = std::any_of(options.begin(), options.end(),
                                    [&](const MainOption& option) { return option.longName == longName; });
    if (listed) continue;
    MainOption option;
    option.longName = longName;
    if (!row.shortKey.empty()) option.shortNames.push_back(AsciiLower(row.shortKey));
    options.push_back(FromMainOptionRow(option, row));
  }
  return options;
}

// The keywords that name the setting's codes; accepting others means the compressions' shared list.
std::vector<std::string> KeywordsOfOption(const OptionRow& row, bool& acceptsOthers) {
  std::vector<std::string> keywords;
  for (const Keyword& entry : row.target->keywords) keywords.emplace_back(entry.keyword);
  acceptsOthers = row.target->accepted.data() != row.target->keywords.data();
  return keywords;
}

std::string KeywordDefault(const OptionRow& row, std::int32_t code) {
  return AsciiUpper(KeywordName(row.target->keywords, code));
}

std::string Number(float value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.2f", static_cast<double>(value));
  return buffer;
}

// What the check of the option's setting allows, in words: "1 to 100", "not 0"; "" without a bound.
std::string BoundsOf(const OptionRow& row) {
  const SettingValidation& check = row.target->validation;
  switch (check.check) {
    case SettingCheck::kIntegerRange: return std::to_string(check.low) + " to " + std::to_string(check.high);
    case SettingCheck::kRealRange: return Number(check.realLow) + " to " + Number(check.realHigh);
    case SettingCheck::kNotZero: return "not 0";
    case SettingCheck::kAllowedBitDepth: return "0 or a bit depth of the format";
    case SettingCheck::kKnownKeyword: return "one of the keywords (any other word is refused)";
    case SettingCheck::kNone:
    case SettingCheck::kFontExists:
    case SettingCheck::kReadablePicture: break;
  }
  return {};
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
    case ValueKind::kReal: GetSetting(defaults, *row.target, real); return Number(real);
    case ValueKind::kText: GetSetting(defaults, *row.target, text); return text;
    case ValueKind::kKeyword: GetSetting(defaults, *row.target, number); return KeywordDefault(row, number);
    case ValueKind::kFlag: GetSetting(defaults, *row.target, number); return number == row.flagValue ? "on" : "off";
  }
  return {};
}

// "resize step", "text watermark", "solid frame": an on/off setting names its step, a kind setting the kind.
std::string SwitchedOnBy(const OptionRow& row) {
  if (row.also == nullptr) return {};
  std::string_view what = row.also->key;
  for (std::string_view prefix : {"Do Image ", "Do "}) {
    if (what.starts_with(prefix)) what.remove_prefix(prefix.size());
  }
  if (!row.also->keywords.empty()) return KeywordName(row.also->keywords, row.alsoValue) + " " + AsciiLower(what);
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
  return !keywords.empty() && KeywordValue(row.target->accepted, keywords.front()) == 0;
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
    option.bounds = BoundsOf(row);
    if (SectionTitle(option.section).empty()) problems.push_back(option.name + ": no section for " + option.section);
    options.push_back(option);
  }
  return options;
}

std::vector<OutputFormatEntry> OutputFormats(const std::vector<AdvancedOption>& options) {
  std::vector<OutputFormatEntry> formats;
  for (const OutputFormat& format : OutputFormatTable()) {
    OutputFormatEntry entry{
        std::string(format.identifier), std::string(format.description), SplitAt(format.allowedBitDepths, ","), {},
        format.metadata != MetadataContainer::kNone};
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
  model.mainOptions = MainOptions(problems);
  model.advancedOptions = AdvancedOptions(problems);
  for (const TokenRow& row : kTokenTable) model.tokens.emplace_back(row.token);
  model.outputFormats = OutputFormats(model.advancedOptions);
  model.rawExtensions = AcceptedExtensions();
  if (problems.size() != problemsBefore) return std::nullopt;
  return model;
}

}  // namespace lumivane::reference
