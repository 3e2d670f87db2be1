#pragma once
// One row of the settings table: the "Group/Key" name of a setting, its type and field, its default, when the
// configuration file saves it (and so which input group or output format owns it), the keywords of its codes and
// the check a run makes of it before any file is touched. Rows are made with Setting<&group, &field>, which takes
// the row's type, and for code settings its keywords, from the field itself.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

#include "settings/setting_codes.h"
#include "settings/settings.h"

namespace lumivane {

enum class SettingType : std::uint8_t { kInt8, kInt32, kFloat32, kString };

// When SaveConfiguration writes a setting. Loading reads every row whatever its rule.
enum class SaveRule : std::uint8_t {
  kAlways,              // in table order, first in its group
  kNever,               // read from the file but never written
  kWithWindowPosition,  // only when General/Save Window Position is on, in the window-placement order
  kWithInputGroup,      // when `format` is in the input format list, in that list's order
  kWithOutputFormat,    // in the order of the output formats (all of them)
};

struct Saving {
  SaveRule rule = SaveRule::kAlways;
  std::string_view format;  // the input group or output format that owns the setting, for the two per-format rules
};
inline constexpr Saving kSavedAlways{};
inline constexpr Saving kNeverSaved{SaveRule::kNever, {}};
inline constexpr Saving kSavedWithWindowPosition{SaveRule::kWithWindowPosition, {}};
constexpr Saving SavedWithInputGroup(std::string_view group) { return {SaveRule::kWithInputGroup, group}; }
constexpr Saving SavedWithOutputFormat(std::string_view id) { return {SaveRule::kWithOutputFormat, id}; }

// What a run checks of a setting before any file is touched.
enum class SettingCheck : std::uint8_t {
  kNone,
  kIntegerRange,     // within low..high
  kNotZero,          // any integer but 0
  kRealRange,        // within realLow..realHigh, compared in single precision; NaN fails
  kAllowedBitDepth,  // 0 (automatic) or a depth that the owning output format allows
  kFontExists,       // the watermark font that the watermark settings describe can be made
  kReadablePicture,  // names a picture file that the watermark step's loader decodes
  kKnownKeyword,     // one of the row's codes: an option value that names none is refused instead of becoming 0
};

struct SettingValidation {
  SettingCheck check = SettingCheck::kNone;
  std::int32_t low = 0;
  std::int32_t high = 0;
  float realLow = 0.0f;
  float realHigh = 0.0f;
  std::string_view error;  // what the "Error: " line says when the check fails; derived for kAllowedBitDepth
};

// Typed access to a row's field. Numbers cover int8, int32 and code fields; an int8 field keeps the low 8 bits.
struct SettingAccess {
  std::int32_t (*number)(const Settings&) = nullptr;
  void (*setNumber)(Settings&, std::int32_t) = nullptr;
  float (*real)(const Settings&) = nullptr;
  void (*setReal)(Settings&, float) = nullptr;
  const std::string& (*text)(const Settings&) = nullptr;
  void (*setText)(Settings&, std::string_view) = nullptr;
};

// The one member of the default that the row's type uses.
struct SettingDefault {
  std::int32_t integer = 0;
  float real = 0.0f;
  std::string_view text;
};

struct SettingRow {
  std::string_view group;
  std::string_view key;
  SettingType type;
  SettingAccess access;
  SettingDefault byDefault;
  Saving saving;
  std::span<const Keyword> keywords;  // the names of a code setting's codes, in list order; empty otherwise
  std::span<const Keyword> accepted;  // the keywords an option value may use for it
  SettingValidation validation;
  std::string_view label;  // the debug listing's label when it is not the key

  consteval SettingRow Within(std::int32_t low, std::int32_t high, std::string_view error) const {
    return Validated({SettingCheck::kIntegerRange, low, high, 0.0f, 0.0f, error});
  }
  consteval SettingRow WithinReal(float low, float high, std::string_view error) const {
    return Validated({SettingCheck::kRealRange, 0, 0, low, high, error});
  }
  consteval SettingRow Checked(SettingCheck check, std::string_view error = {}) const {
    return Validated({check, 0, 0, 0.0f, 0.0f, error});
  }
  consteval SettingRow ListedAs(std::string_view listingLabel) const {
    SettingRow row = *this;
    row.label = listingLabel;
    return row;
  }

 private:
  consteval SettingRow Validated(SettingValidation checked) const {
    SettingRow row = *this;
    row.validation = checked;
    return row;
  }
};

namespace setting_row_detail {

template <class M>
struct MemberOf;
template <class Class, class T>
struct MemberOf<T Class::*> {
  using Type = T;
};

template <class T>
struct Stored {
  using Type = T;
};
template <class T>
requires std::is_enum_v<T>
struct Stored<T> {
  using Type = std::underlying_type_t<T>;
};

template <class T>
consteval SettingType TypeOf() {
  using S = typename Stored<T>::Type;
  if constexpr (std::is_same_v<S, std::int8_t>) return SettingType::kInt8;
  if constexpr (std::is_same_v<S, std::int32_t>) return SettingType::kInt32;
  if constexpr (std::is_same_v<S, float>) return SettingType::kFloat32;
  static_assert(std::is_same_v<S, std::string> || std::is_same_v<S, std::int8_t> || std::is_same_v<S, std::int32_t> ||
                    std::is_same_v<S, float>,
                "a setting field is int8, int32, float, a code of setting_codes.h or a string");
  return SettingType::kString;
}

// The default as a row writes it: a text for strings, the field's own type otherwise.
template <class T>
using DefaultOf = std::conditional_t<std::is_same_v<T, std::string>, std::string_view, T>;

template <auto kGroup, auto kField>
using FieldOf = typename MemberOf<decltype(kField)>::Type;

template <auto kGroup, auto kField>
std::int32_t ReadNumber(const Settings& settings) {
  return static_cast<std::int32_t>(settings.*kGroup.*kField);
}
template <auto kGroup, auto kField>
void WriteNumber(Settings& settings, std::int32_t value) {
  using Field = FieldOf<kGroup, kField>;
  settings.*kGroup.*kField = static_cast<Field>(static_cast<typename Stored<Field>::Type>(value));
}
template <auto kGroup, auto kField>
float ReadReal(const Settings& settings) {
  return settings.*kGroup.*kField;
}
template <auto kGroup, auto kField>
void WriteReal(Settings& settings, float value) {
  settings.*kGroup.*kField = value;
}
template <auto kGroup, auto kField>
const std::string& ReadText(const Settings& settings) {
  return settings.*kGroup.*kField;
}
template <auto kGroup, auto kField>
void WriteText(Settings& settings, std::string_view value) {
  (settings.*kGroup.*kField).assign(value);
}

}  // namespace setting_row_detail

// The row of the field settings.*kGroup.*kField.
template <auto kGroup, auto kField>
consteval SettingRow Setting(std::string_view group, std::string_view key,
                             setting_row_detail::DefaultOf<setting_row_detail::FieldOf<kGroup, kField>> byDefault,
                             Saving saving = kSavedAlways) {
  using namespace setting_row_detail;
  using Field = FieldOf<kGroup, kField>;
  SettingRow row{group, key, TypeOf<Field>(), {}, {}, saving, {}, {}, {}, {}};
  if constexpr (std::is_same_v<Field, std::string>) {
    row.access.text = &ReadText<kGroup, kField>;
    row.access.setText = &WriteText<kGroup, kField>;
    row.byDefault.text = byDefault;
  } else if constexpr (std::is_same_v<Field, float>) {
    row.access.real = &ReadReal<kGroup, kField>;
    row.access.setReal = &WriteReal<kGroup, kField>;
    row.byDefault.real = byDefault;
  } else {
    row.access.number = &ReadNumber<kGroup, kField>;
    row.access.setNumber = &WriteNumber<kGroup, kField>;
    row.byDefault.integer = static_cast<std::int32_t>(byDefault);
    if constexpr (std::is_enum_v<Field>) {
      static_assert(KeywordCode<Field>, "a code setting's type has a keyword list");
      row.keywords = KeywordsOf(Field{});
      row.accepted = AcceptedKeywordsOf(Field{});
    }
  }
  return row;
}

}  // namespace lumivane
