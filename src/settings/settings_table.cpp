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
  if (row.access.number == nullptr) return false;
  value = row.access.number(settings);
  return true;
}

bool GetSetting(const Settings& settings, const SettingRow& row, float& value) {
  if (row.access.real == nullptr) return false;
  value = row.access.real(settings);
  return true;
}

bool GetSetting(const Settings& settings, const SettingRow& row, std::string& value) {
  if (row.access.text == nullptr) return false;
  value = row.access.text(settings);
  return true;
}

bool SetSetting(Settings& settings, const SettingRow& row, std::int32_t value) {
  if (row.access.setNumber == nullptr) return false;
  row.access.setNumber(settings, value);
  return true;
}

bool SetSetting(Settings& settings, const SettingRow& row, float value) {
  if (row.access.setReal == nullptr) return false;
  row.access.setReal(settings, value);
  return true;
}

bool SetSetting(Settings& settings, const SettingRow& row, std::string_view value) {
  if (row.access.setText == nullptr) return false;
  row.access.setText(settings, value);
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
  switch (row.type) {
    case SettingType::kInt8:
    case SettingType::kInt32: return std::to_string(row.access.number(settings));
    case SettingType::kFloat32: return FormatPreferencesFloat(row.access.real(settings));
    case SettingType::kString: return row.access.text(settings);
  }
  return {};
}

}  // namespace lumivane
