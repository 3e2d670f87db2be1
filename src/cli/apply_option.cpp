#include "cli/apply_option.h"

#include <string>

#include "cli/value_rules.h"

namespace lumivane {
namespace {

std::string TextValue(const OptionRow& row, std::string_view value, bool fromProfile) {
  if (!fromProfile || row.quoteTrimInProfile) return std::string(QuoteTrim(value));
  return std::string(TrimBlanks(value));
}

}  // namespace

// The rows' targets were checked at compile time to have the type their kind stores, so every SetSetting succeeds.
void ApplyOptionRow(Settings& settings, const OptionRow& row, std::string_view value, bool fromProfile) {
  const SettingRow& target = *row.target;
  switch (row.kind) {
    case ValueKind::kInteger:
      SetSetting(settings, target, ParseIntegerValue(value));
      break;
    case ValueKind::kReal:
      SetSetting(settings, target, ParseRealValue(value));
      break;
    case ValueKind::kText:
      SetSetting(settings, target, std::string_view(TextValue(row, value, fromProfile)));
      break;
    case ValueKind::kKeyword:
      SetSetting(settings, target, KeywordValue(row.keywords, value));
      break;
    case ValueKind::kFlag:
      SetSetting(settings, target, static_cast<std::int32_t>(row.flagValue));
      break;
  }
  if (row.also != nullptr) SetSetting(settings, *row.also, static_cast<std::int32_t>(row.alsoValue));
}

void ApplyAdvancedOption(Settings& settings, std::string_view name, std::string_view value) {
  if (const OptionRow* row = FindOption(name, /*fromProfile=*/false)) ApplyOptionRow(settings, *row, value, false);
}

}  // namespace lumivane
