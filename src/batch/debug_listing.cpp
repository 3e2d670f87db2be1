#include "batch/debug_listing.h"

#include <cstdio>
#include <span>

#include "batch/bit_depth_settings.h"
#include "batch/debug_listing_rows.h"
#include "batch/validate_job.h"
#include "formats/registry.h"

namespace lumivane {

namespace {

// Codes of `Watermark/Font Style` and `Watermark/Font Effect`.
constexpr std::int32_t kBoldStyle = 1;
constexpr std::int32_t kItalicStyle = 2;
constexpr std::int32_t kUnderlineEffect = 1;
constexpr std::int32_t kStrikeoutEffect = 2;

// Gamma bounds, compared in single precision as the setting is stored.
constexpr float kLowestGamma = 0.01f;
constexpr float kHighestGamma = 9.99f;

std::int32_t IntegerOf(const Settings& settings, std::string_view setting) {
  std::int32_t value = 0;
  GetSetting(settings, *FindSetting(setting), value);
  return value;
}

float RealOf(const Settings& settings, std::string_view setting) {
  float value = 0.0f;
  GetSetting(settings, *FindSetting(setting), value);
  return value;
}

std::string TextOf(const Settings& settings, std::string_view setting) {
  std::string value;
  GetSetting(settings, *FindSetting(setting), value);
  return value;
}

std::string TwoDecimals(float value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2f", static_cast<double>(value));
  return text;
}

bool Applies(const ListingRow& row, const Settings& settings, std::string_view format) {
  if (!row.format.empty() && row.format != format) return false;
  switch (row.when) {
    case When::kAlways: return true;
    case When::kOn: return IntegerOf(settings, row.whenSetting) != 0;
    case When::kEquals: return IntegerOf(settings, row.whenSetting) == row.whenValue;
  }
  return false;
}

std::string Line(const ListingRow& row, const Settings& settings, const JobRecord& job) {
  const std::string label(row.label);
  switch (row.shown) {
    case Shown::kNumber:
      return label + std::to_string(IntegerOf(settings, row.setting));
    case Shown::kKeyword:
      return label + KeywordName(row.keywords, IntegerOf(settings, row.setting));
    case Shown::kCompression:
      return label + CompressionKeywordName(job.outputFormat, IntegerOf(settings, row.setting));
    case Shown::kText:
      return label + TextOf(settings, row.setting);
    case Shown::kTwoDecimals:
      return label + TwoDecimals(RealOf(settings, row.setting));
    case Shown::kNumberAndUnit:
      return label + std::to_string(IntegerOf(settings, row.setting)) + " " +
             KeywordName(row.keywords, IntegerOf(settings, row.secondSetting));
    case Shown::kNumberPair:
      return label + std::to_string(IntegerOf(settings, row.setting)) + "/" +
             std::to_string(IntegerOf(settings, row.secondSetting));
    case Shown::kFormatBitDepth: {
      const BitDepthSetting* depth = FindBitDepthSetting(job.outputFormat);
      if (depth == nullptr) return {};
      return std::string(depth->label) + std::to_string(IntegerOf(settings, depth->setting));
    }
  }
  return label;
}

// The error line of a failed check, or "" when it passes. The font check keeps its font in the review.
std::string Checked(const ListingRow& row, const Settings& settings, const JobRecord& job, SettingsReview& review) {
  bool passes = true;
  switch (row.check) {
    case Check::kNone:
      break;
    case Check::kRange: {
      const std::int32_t value = IntegerOf(settings, row.setting);
      passes = value >= row.low && value <= row.high;
      break;
    }
    case Check::kNotZero:
      passes = IntegerOf(settings, row.setting) != 0;
      break;
    case Check::kGammaRange: {
      // Written as "within" rather than "not outside", so that NaN fails as well.
      const float gamma = RealOf(settings, row.setting);
      passes = gamma >= kLowestGamma && gamma <= kHighestGamma;
      break;
    }
    case Check::kAllowedBitDepth: {
      const BitDepthSetting* depth = FindBitDepthSetting(job.outputFormat);
      if (depth != nullptr && !IsAllowedBitDepth(job.outputFormat, IntegerOf(settings, depth->setting))) {
        return std::string(depth->error);
      }
      break;
    }
    case Check::kWatermarkFont:
      review.watermarkFont = LoadWatermarkFont(settings);
      passes = review.watermarkFont.IsFont();
      break;
    case Check::kWatermarkImage:
      passes = IsNonEmptyRegularFile(TextOf(settings, row.setting));
      break;
  }
  return passes ? std::string() : std::string(row.error);
}

// Walks one part of the listing; false once a check failed (its line is then in review.error).
bool Review(std::span<const ListingRow> rows, std::string_view format, const Settings& settings,
            const JobRecord& job, bool list, SettingsReview& review) {
  for (const ListingRow& row : rows) {
    if (!Applies(row, settings, format)) continue;
    if (row.check == Check::kNone) {
      if (list) review.lines.push_back(Line(row, settings, job));
      continue;
    }
    review.error = Checked(row, settings, job, review);
    if (!review.error.empty()) return false;
  }
  return true;
}

}  // namespace

DrawingFont LoadWatermarkFont(const Settings& settings) {
  const Settings::Watermark& watermark = settings.watermark;
  FontStyle style;
  style.bold = (watermark.fontStyle & kBoldStyle) != 0;
  style.italic = (watermark.fontStyle & kItalicStyle) != 0;
  style.underline = watermark.fontEffect == kUnderlineEffect;
  style.strikeout = watermark.fontEffect == kStrikeoutEffect;
  return LoadFont(watermark.font, watermark.fontSize, style);
}

SettingsReview ReviewSettings(const Settings& settings, const JobRecord& job, bool list) {
  SettingsReview review;
  const bool passed = Review(listing_rows::kInputFormatRows, job.inputFormat, settings, job, list, review) &&
                      Review(listing_rows::kOutputFormatRows, job.outputFormat, settings, job, list, review) &&
                      Review(listing_rows::kEditAndNamingRows, "", settings, job, list, review);
  if (!passed) review.watermarkFont = DrawingFont();  // a batch that does not run keeps no font
  return review;
}

}  // namespace lumivane
