#include "settings/settings_table.h"

#include "settings/preferences_values.h"

namespace lumivane {

std::string SettingName(const SettingRow& row) {
  std::string name(row.group);
  name += '/';
  name += row.key;
  return name;
}

bool GetSetting(const Settings& settings, const SettingRow& row, std::int32_t& value) {
  if (const auto* field = SettingField<std::int8_t>(settings, row)) {
    value = *field;
    return true;
  }
  if (const auto* field = SettingField<std::int32_t>(settings, row)) {
    value = *field;
    return true;
  }
  return false;
}

bool GetSetting(const Settings& settings, const SettingRow& row, float& value) {
  const auto* field = SettingField<float>(settings, row);
  if (field == nullptr) return false;
  value = *field;
  return true;
}

bool GetSetting(const Settings& settings, const SettingRow& row, std::string& value) {
  const auto* field = SettingField<std::string>(settings, row);
  if (field == nullptr) return false;
  value = *field;
  return true;
}

bool SetSetting(Settings& settings, const SettingRow& row, std::int32_t value) {
  if (auto* field = SettingField<std::int8_t>(settings, row)) {
    *field = static_cast<std::int8_t>(static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) & 0xFFu));
    return true;
  }
  if (auto* field = SettingField<std::int32_t>(settings, row)) {
    *field = value;
    return true;
  }
  return false;
}

bool SetSetting(Settings& settings, const SettingRow& row, float value) {
  auto* field = SettingField<float>(settings, row);
  if (field == nullptr) return false;
  *field = value;
  return true;
}

bool SetSetting(Settings& settings, const SettingRow& row, std::string_view value) {
  auto* field = SettingField<std::string>(settings, row);
  if (field == nullptr) return false;
  field->assign(value);
  return true;
}

void SetSettingDefault(Settings& settings, const SettingRow& row) {
  switch (row.type) {
    case SettingType::kInt8:
    case SettingType::kInt32: SetSetting(settings, row, row.byDefault.integer); break;
    case SettingType::kFloat32: SetSetting(settings, row, row.byDefault.real); break;
    case SettingType::kString: SetSetting(settings, row, row.byDefault.text); break;
  }
}

void SetSettingFromText(Settings& settings, const SettingRow& row, std::string_view text) {
  switch (row.type) {
    case SettingType::kInt8:
    case SettingType::kInt32: SetSetting(settings, row, ParsePreferencesInteger(text)); break;
    case SettingType::kFloat32: SetSetting(settings, row, ParsePreferencesFloat(text)); break;
    case SettingType::kString: SetSetting(settings, row, text); break;
  }
}

std::string FormatSetting(const Settings& settings, const SettingRow& row) {
  std::int32_t integer = 0;
  float real = 0.0f;
  std::string text;
  if (GetSetting(settings, row, integer)) return std::to_string(integer);
  if (GetSetting(settings, row, real)) return FormatPreferencesFloat(real);
  GetSetting(settings, row, text);
  return text;
}

}  // namespace lumivane
