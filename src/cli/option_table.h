#pragma once
// The advanced options: one constant row per option naming the settings it writes and how its value is read, and
// the writing of an option's value into the settings record. Targets are rows of the settings table, found by
// "Group/Key" at compile time; a row whose setting does not exist or has a type that its value kind cannot store
// does not compile. A keyword option reads the keywords of its setting's codes.
#include <cstdint>
#include <span>
#include <string_view>

#include "settings/settings.h"
#include "settings/settings_table.h"

namespace lumivane {

enum class ValueKind : std::uint8_t {
  kInteger,  // integer rule, stored into an int32 setting
  kReal,     // real rule, stored into the float setting
  kText,     // text rule, stored as is
  kKeyword,  // the setting's keyword lookup, stored into a code setting
  kFlag,     // takes no value: the int8 setting receives the row's fixed number
};

// Where an option is known: the frame opacity has one name on the command line and another in profiles.
enum class OptionScope : std::uint8_t { kEverywhere, kCommandLineOnly, kProfileOnly };

struct OptionRow {
  std::string_view name;  // upper case, begins with "--"
  const SettingRow* target = nullptr;
  ValueKind kind = ValueKind::kInteger;
  std::int8_t flagValue = 0;         // kFlag rows only
  const SettingRow* also = nullptr;  // the on/off or kind setting of the same edit, written alongside, or none
  std::int8_t alsoValue = 0;
  OptionScope scope = OptionScope::kEverywhere;
  bool quoteTrimInProfile = false;  // in a profile, text inside double quotes keeps its blanks

  // Also writes `value` into the int8 on/off setting of the same edit, or the code into its kind setting.
  consteval OptionRow Also(std::string_view setting, std::int8_t value) const {
    return AlsoWrites(setting, value, false);
  }
  template <KeywordCode Code>
  consteval OptionRow Also(std::string_view setting, Code value) const {
    return AlsoWrites(setting, static_cast<std::int8_t>(CodeOf(value)), true);
  }
  consteval OptionRow Only(OptionScope where) const;
  consteval OptionRow QuoteTrimmedInProfile() const;

 private:
  consteval OptionRow AlsoWrites(std::string_view setting, std::int8_t value, bool code) const;
};

namespace option_detail {
// Deliberately not constexpr: reaching it while a row is built at compile time stops the build at that row.
inline void TargetIsMissingOrOfTheWrongType() {}

constexpr bool NamesSetting(const SettingRow& row, std::string_view setting) {
  return setting.size() == row.group.size() + 1 + row.key.size() && setting.starts_with(row.group) &&
         setting[row.group.size()] == '/' && setting.ends_with(row.key);
}

// Works with indices, not with FindSetting's pointer: GCC cannot compare such a pointer with null at compile time
// when the undefined-behaviour sanitizer is on.
consteval const SettingRow* Target(std::string_view setting, SettingType type, SettingType otherType,
                                   bool codes = false) {
  std::size_t index = 0;
  while (index < kSettingTable.size() && !NamesSetting(kSettingTable[index], setting)) ++index;
  if (index == kSettingTable.size()) TargetIsMissingOrOfTheWrongType();
  const SettingRow& row = kSettingTable[index];
  if (row.type != type && row.type != otherType) TargetIsMissingOrOfTheWrongType();
  if (codes == row.keywords.empty()) TargetIsMissingOrOfTheWrongType();
  return &row;
}
consteval const SettingRow* Target(std::string_view setting, SettingType type) { return Target(setting, type, type); }
}  // namespace option_detail

// Row builders, one per value kind.
consteval OptionRow IntegerOption(std::string_view name, std::string_view setting) {
  return {.name = name, .target = option_detail::Target(setting, SettingType::kInt32), .kind = ValueKind::kInteger};
}
consteval OptionRow RealOption(std::string_view name, std::string_view setting) {
  return {.name = name, .target = option_detail::Target(setting, SettingType::kFloat32), .kind = ValueKind::kReal};
}
consteval OptionRow TextOption(std::string_view name, std::string_view setting) {
  return {.name = name, .target = option_detail::Target(setting, SettingType::kString), .kind = ValueKind::kText};
}
consteval OptionRow KeywordOption(std::string_view name, std::string_view setting) {
  return {.name = name,
          .target = option_detail::Target(setting, SettingType::kInt8, SettingType::kInt32, true),
          .kind = ValueKind::kKeyword};
}
consteval OptionRow FlagOption(std::string_view name, std::string_view setting, std::int8_t value) {
  return {.name = name,
          .target = option_detail::Target(setting, SettingType::kInt8),
          .kind = ValueKind::kFlag,
          .flagValue = value};
}

consteval OptionRow OptionRow::AlsoWrites(std::string_view setting, std::int8_t value, bool code) const {
  OptionRow row = *this;
  row.also = option_detail::Target(setting, SettingType::kInt8, SettingType::kInt8, code);
  row.alsoValue = value;
  return row;
}
consteval OptionRow OptionRow::Only(OptionScope where) const {
  OptionRow row = *this;
  row.scope = where;
  return row;
}
consteval OptionRow OptionRow::QuoteTrimmedInProfile() const {
  OptionRow row = *this;
  row.quoteTrimInProfile = true;
  return row;
}

// Every advanced option, in table order.
std::span<const OptionRow> OptionTable();

// The row of the advanced option `name` (any letter case) as known on the command line (fromProfile false) or in
// a profile file (fromProfile true); nullptr when there is none. The command-line scan uses it to tell an advanced
// option from other keys and to see whether it is a flag (row->kind == ValueKind::kFlag: no value is read).
const OptionRow* FindOption(std::string_view name, bool fromProfile);

// Applies one row with a value from the command line (fromProfile false) or from a profile entry (true). The two
// differ only for text: the command line quote-trims; a profile trims blanks, or quote-trims for rows that ask so.
// Flags ignore the value; joining a value that was split over several parameters is the scan's part, before this.
void ApplyOptionRow(Settings& settings, const OptionRow& row, std::string_view value, bool fromProfile);

// Applies the advanced option `name` as known on the command line (any letter case); a name that is not a
// command-line advanced option is ignored.
void ApplyAdvancedOption(Settings& settings, std::string_view name, std::string_view value);

}  // namespace lumivane
