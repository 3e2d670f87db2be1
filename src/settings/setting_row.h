#pragma once
// One row of the settings table: the "Group/Key" name of a setting, its type, where its field lives in the
// Settings record, its default and when the configuration file saves it. Rows are made with Int8Setting,
// Int32Setting, Float32Setting and StringSetting, which refuse to compile when the field has another type.
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

#include "settings/settings.h"

namespace lumivane {

enum class SettingType : std::uint8_t { kInt8, kInt32, kFloat32, kString };

template <class T>
inline constexpr bool kIsSettingFieldType = std::is_same_v<T, std::int8_t> || std::is_same_v<T, std::int32_t> ||
                                            std::is_same_v<T, float> || std::is_same_v<T, std::string>;

template <class T>
  requires kIsSettingFieldType<T>
inline constexpr SettingType kSettingTypeOf = std::is_same_v<T, std::int8_t>    ? SettingType::kInt8
                                              : std::is_same_v<T, std::int32_t> ? SettingType::kInt32
                                              : std::is_same_v<T, float>        ? SettingType::kFloat32
                                                                                : SettingType::kString;

// When SaveConfiguration writes a setting. Loading reads every row whatever its rule.
enum class SaveRule : std::uint8_t {
  kAlways,              // in table order, first in its group
  kNever,               // read from the file but never written
  kWithWindowPosition,  // only when General/Save Window Position is on, in the window-placement order
  kWithInputGroup,      // when `format` is in the input format list, in that list's order
  kWithOutputFormat,    // when `format` is in the output format list, in that list's order
};

struct Saving {
  SaveRule rule = SaveRule::kAlways;
  std::string_view format;  // input group or output format identifier for the two per-format rules
};
inline constexpr Saving kSavedAlways{};
inline constexpr Saving kNeverSaved{SaveRule::kNever, {}};
inline constexpr Saving kSavedWithWindowPosition{SaveRule::kWithWindowPosition, {}};
constexpr Saving SavedWithInputGroup(std::string_view group) { return {SaveRule::kWithInputGroup, group}; }
constexpr Saving SavedWithOutputFormat(std::string_view id) { return {SaveRule::kWithOutputFormat, id}; }

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
  void* (*field)(Settings&);  // address of the field; its type is `type`
  SettingDefault byDefault;
  Saving saving;
};

namespace setting_row_detail {

template <class M>
struct MemberOf;
template <class Class, class T>
struct MemberOf<T Class::*> {
  using Type = T;
};

template <auto kGroup, auto kField>
void* FieldAddress(Settings& settings) {
  return &(settings.*kGroup.*kField);
}

template <auto kGroup, auto kField, class Expected>
consteval SettingRow MakeRow(std::string_view group, std::string_view key, SettingDefault byDefault, Saving saving) {
  using Field = typename MemberOf<decltype(kField)>::Type;
  static_assert(std::is_same_v<Field, Expected>, "the row's type differs from its field's type");
  return SettingRow{group, key, kSettingTypeOf<Field>, &FieldAddress<kGroup, kField>, byDefault, saving};
}

}  // namespace setting_row_detail

template <auto kGroup, auto kField>
consteval SettingRow Int8Setting(std::string_view group, std::string_view key, std::int8_t byDefault,
                                 Saving saving = kSavedAlways) {
  return setting_row_detail::MakeRow<kGroup, kField, std::int8_t>(group, key, {byDefault, 0.0f, {}}, saving);
}

template <auto kGroup, auto kField>
consteval SettingRow Int32Setting(std::string_view group, std::string_view key, std::int32_t byDefault,
                                  Saving saving = kSavedAlways) {
  return setting_row_detail::MakeRow<kGroup, kField, std::int32_t>(group, key, {byDefault, 0.0f, {}}, saving);
}

template <auto kGroup, auto kField>
consteval SettingRow Float32Setting(std::string_view group, std::string_view key, float byDefault,
                                    Saving saving = kSavedAlways) {
  return setting_row_detail::MakeRow<kGroup, kField, float>(group, key, {0, byDefault, {}}, saving);
}

template <auto kGroup, auto kField>
consteval SettingRow StringSetting(std::string_view group, std::string_view key, std::string_view byDefault,
                                   Saving saving = kSavedAlways) {
  return setting_row_detail::MakeRow<kGroup, kField, std::string>(group, key, {0, 0.0f, byDefault}, saving);
}

// The field of a row when it has type T, else nullptr.
template <class T>
T* SettingField(Settings& settings, const SettingRow& row) {
  return row.type == kSettingTypeOf<T> ? static_cast<T*>(row.field(settings)) : nullptr;
}
template <class T>
const T* SettingField(const Settings& settings, const SettingRow& row) {
  // The accessor only takes the field's address; nothing is written through it here.
  return SettingField<T>(const_cast<Settings&>(settings), row);
}

}  // namespace lumivane
