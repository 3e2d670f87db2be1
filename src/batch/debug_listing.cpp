#include "batch/debug_listing.h"

#include <cstdio>
#include <span>

#include "batch/debug_listing_rows.h"
#include "formats/registry.h"
#include "pipeline/edit_steps.h"
#include "platform/drawing_image.h"

namespace lumivane {

namespace {

std::int32_t NumberOf(const Settings& settings, std::string_view setting) {
  return FindSetting(setting)->access.number(settings);
}

std::string TwoDecimals(float value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2f", static_cast<double>(value));
  return text;
}

// A setting as a listing line shows it.
std::string ValueText(const Settings& settings, const SettingRow& row) {
  switch (row.type) {
    case SettingType::kInt8:
    case SettingType::kInt32: {
      const std::int32_t number = row.access.number(settings);
      return row.keywords.empty() ? std::to_string(number) : KeywordName(row.keywords, number);
    }
    case SettingType::kFloat32: return TwoDecimals(row.access.real(settings));
    case SettingType::kString: return row.access.text(settings);
  }
  return {};
}

// The message of a failed check of the row's setting, or "" when it passes. The font check keeps its font in the
// review.
std::string Checked(const SettingRow& row, const Settings& settings, SettingsReview& review) {
  const SettingValidation& check = row.validation;
  bool passes = true;
  switch (check.check) {
    case SettingCheck::kNone: break;
    case SettingCheck::kIntegerRange: {
      const std::int32_t value = row.access.number(settings);
      passes = value >= check.low && value <= check.high;
      break;
    }
    case SettingCheck::kNotZero: passes = row.access.number(settings) != 0; break;
    case SettingCheck::kRealRange: {
      // Written as "within" rather than "not outside", so that NaN fails as well.
      const float value = row.access.real(settings);
      passes = value >= check.realLow && value <= check.realHigh;
      break;
    }
    case SettingCheck::kAllowedBitDepth:
      if (!IsAllowedBitDepth(row.saving.format, row.access.number(settings))) {
        return "Invalid " + std::string(row.saving.format) + "-bpp value";
      }
      break;
    case SettingCheck::kFontExists:
      review.watermarkFont = LoadWatermarkFont(settings);
      passes = review.watermarkFont.IsFont();
      break;
    case SettingCheck::kKnownKeyword: passes = !KeywordName(row.keywords, row.access.number(settings)).empty(); break;
    case SettingCheck::kReadablePicture: passes = LoadDrawingImage(row.access.text(settings)).IsImage(); break;
  }
  return passes ? std::string() : std::string(check.error);
}

// The first two parts: the lines of the settings a format owns, in table order, then their checks. False once a
// check failed (its message is then in review.error).
bool ReviewOwned(SaveRule rule, std::string_view owner, const Settings& settings, bool list, SettingsReview& review) {
  std::vector<const SettingRow*> owned;
  for (const SettingRow& row : kSettingTable) {
    if (row.saving.rule == rule && row.saving.format == owner) owned.push_back(&row);
  }
  for (const SettingRow* row : owned) {
    if (list)
      review.lines.push_back(std::string(row->label.empty() ? row->key : row->label) + ": " +
                             ValueText(settings, *row));
  }
  for (const SettingRow* row : owned) {
    review.error = Checked(*row, settings, review);
    if (!review.error.empty()) return false;
  }
  return true;
}

bool Applies(const ListingRow& row, const Settings& settings) {
  switch (row.when) {
    case When::kAlways: return true;
    case When::kOn: return NumberOf(settings, row.whenSetting) != 0;
    case When::kEquals: return NumberOf(settings, row.whenSetting) == row.whenValue;
    case When::kNotDefault: return NumberOf(settings, row.setting) != FindSetting(row.setting)->byDefault.integer;
  }
  return false;
}

std::string Line(const ListingRow& row, const Settings& settings) {
  const std::string first = ValueText(settings, *FindSetting(row.setting));
  switch (row.shown) {
    case Shown::kNumberAndUnit:
      return std::string(row.label) + first + " " + ValueText(settings, *FindSetting(row.secondSetting));
    case Shown::kNumberPair:
      return std::string(row.label) + first + "/" + ValueText(settings, *FindSetting(row.secondSetting));
    case Shown::kValue:
    case Shown::kCheck: break;
  }
  return std::string(row.label) + first;
}

// The third part; false once a check failed.
bool ReviewEditsAndNaming(const Settings& settings, bool list, SettingsReview& review) {
  for (const ListingRow& row : listing_rows::kEditAndNamingRows) {
    if (!Applies(row, settings)) continue;
    if (row.shown != Shown::kCheck) {
      if (list) review.lines.push_back(Line(row, settings));
      continue;
    }
    review.error = Checked(*FindSetting(row.setting), settings, review);
    if (!review.error.empty()) return false;
  }
  return true;
}

}  // namespace

SettingsReview ReviewSettings(const Settings& settings, std::string_view inputGroup, std::string_view outputFormat,
                              bool list) {
  SettingsReview review;
  const bool passed = ReviewOwned(SaveRule::kWithInputGroup, inputGroup, settings, list, review) &&
                      ReviewOwned(SaveRule::kWithOutputFormat, outputFormat, settings, list, review) &&
                      ReviewEditsAndNaming(settings, list, review);
  if (!passed) review.watermarkFont = DrawingFont();  // a batch that does not run keeps no font
  return review;
}

}  // namespace lumivane
