#pragma once
// The rows of the debug listing's third part, the edits and the naming: each shows one line ("label" + value) or
// makes the check that its setting's row describes, when its condition holds. The first two parts, the decoding
// options of the input group and the encoder options of the output format, are the settings those own, in table
// order. Rows are plain constants, so adding a line touches one place.
#include <cstdint>
#include <string_view>

#include "settings/settings_table.h"

namespace lumivane {

enum class Shown : std::uint8_t {
  kValue,          // as the setting's type shows it: a number, the keyword of its code, a text, two decimals
  kNumberAndUnit,  // the number, a space and the keyword of the second setting's code
  kNumberPair,     // the number, "/" and the second setting's number
  kCheck,          // no line: the check of the setting's row
};

enum class When : std::uint8_t { kAlways, kOn, kEquals, kNotDefault };

struct ListingRow {
  When when = When::kAlways;
  std::string_view whenSetting{};  // the on/off or code setting of the condition
  std::int32_t whenValue = 0;      // the code kEquals asks for
  std::string_view label{};        // the line's text before the value; "" for a check
  std::string_view setting{};
  Shown shown = Shown::kValue;
  std::string_view secondSetting{};  // unit or y offset of the two-value lines

  constexpr ListingRow IfOn(std::string_view flagSetting) const {
    ListingRow row = *this;
    row.when = When::kOn;
    row.whenSetting = flagSetting;
    return row;
  }
  constexpr ListingRow IfNotDefault() const {
    ListingRow row = *this;
    row.when = When::kNotDefault;
    return row;
  }
  template <KeywordCode Code>
  constexpr ListingRow IfEquals(std::string_view codeSetting, Code code) const {
    ListingRow row = *this;
    row.when = When::kEquals;
    row.whenSetting = codeSetting;
    row.whenValue = CodeOf(code);
    return row;
  }
};

namespace listing_rows {

constexpr ListingRow Line(std::string_view label, std::string_view setting) {
  return ListingRow{.label = label, .setting = setting};
}
constexpr ListingRow WithUnit(std::string_view label, std::string_view setting, std::string_view unit) {
  return ListingRow{.label = label, .setting = setting, .shown = Shown::kNumberAndUnit, .secondSetting = unit};
}
constexpr ListingRow Pair(std::string_view label, std::string_view first, std::string_view second) {
  return ListingRow{.label = label, .setting = first, .shown = Shown::kNumberPair, .secondSetting = second};
}
constexpr ListingRow Check(std::string_view setting) { return ListingRow{.setting = setting, .shown = Shown::kCheck}; }

inline constexpr std::string_view kDoRotation = "Transform/Do Image Rotation";
inline constexpr std::string_view kDoResize = "Transform/Do Image Resize";
inline constexpr std::string_view kDoColourCorrection = "Adjustment/Do Image Color Correction";
inline constexpr std::string_view kDoFrame = "Frame/Do Frame";
inline constexpr std::string_view kDoWatermark = "Watermark/Do Watermark";
inline constexpr FrameKind kSolid = FrameKind::kSolid;
inline constexpr WatermarkKind kText = WatermarkKind::kText;
inline constexpr WatermarkKind kImage = WatermarkKind::kImage;

inline constexpr ListingRow kEditAndNamingRows[] = {
    Line("Image Rotation Type: ", "Transform/Image Rotation Type").IfOn(kDoRotation),
    Line("Image Rotation: ", "Transform/Image Rotation").IfOn(kDoRotation),
    Line("Image Rotation Back Color: ", "Transform/Image Rotation Back Color").IfOn(kDoRotation),

    WithUnit("Width: ", "Transform/Image Width", "Transform/Image Width Unit").IfOn(kDoResize),
    Check("Transform/Image Width").IfOn(kDoResize),
    WithUnit("Height: ", "Transform/Image Height", "Transform/Image Height Unit").IfOn(kDoResize),
    Check("Transform/Image Height").IfOn(kDoResize),
    Line("Keep Aspect Ratio: ", "Transform/Keep Aspect Ratio").IfOn(kDoResize),
    Line("Image Resize Type: ", "Transform/Image Resize Type").IfOn(kDoResize),
    Line("Image Resize Algorithm: ", "Transform/Image Resize Algorithm").IfOn(kDoResize),

    Line("Flip Horizontal: ", "Transform/Do Image Flip Horizontal"),
    Line("Flip Vertical: ", "Transform/Do Image Flip Vertical"),

    Line("Brightness: ", "Adjustment/Image Brightness").IfOn(kDoColourCorrection),
    Check("Adjustment/Image Brightness").IfOn(kDoColourCorrection),
    Line("Contrast: ", "Adjustment/Image Contrast").IfOn(kDoColourCorrection),
    Check("Adjustment/Image Contrast").IfOn(kDoColourCorrection),
    Line("Gamma: ", "Adjustment/Image Gamma").IfOn(kDoColourCorrection),
    Check("Adjustment/Image Gamma").IfOn(kDoColourCorrection),
    Line("Invert: ", "Adjustment/Image Invert").IfOn(kDoColourCorrection),

    Line("Greyscale: ", "Adjustment/Do Image Greyscale"),
    Line("Image Threshold: ", "Adjustment/Image Threshold").IfOn("Adjustment/Do Image Threshold"),
    Line("Image Dithering Algorithm: ", "Adjustment/Image Dither Algorithm").IfOn("Adjustment/Do Image Dither"),

    Line("Frame: ", kDoFrame),
    Line("Frame left: ", "Frame/Solid Left").IfEquals(kDoFrame, kSolid),
    Line("Frame right: ", "Frame/Solid Right").IfEquals(kDoFrame, kSolid),
    Line("Frame top: ", "Frame/Solid Top").IfEquals(kDoFrame, kSolid),
    Line("Frame bottom: ", "Frame/Solid Bottom").IfEquals(kDoFrame, kSolid),
    Line("Frame left color: ", "Frame/Solid Left Color").IfEquals(kDoFrame, kSolid),
    Line("Frame right color: ", "Frame/Solid Right Color").IfEquals(kDoFrame, kSolid),
    Line("Frame top color: ", "Frame/Solid Top Color").IfEquals(kDoFrame, kSolid),
    Line("Frame bottom color: ", "Frame/Solid Bottom Color").IfEquals(kDoFrame, kSolid),
    Line("Frame opacity: ", "Frame/Solid Opacity").IfEquals(kDoFrame, kSolid),

    Line("Watermark: ", kDoWatermark),
    Line("Watermark text: ", "Watermark/Text").IfEquals(kDoWatermark, kText),
    Line("Watermark font: ", "Watermark/Font").IfEquals(kDoWatermark, kText),
    Line("Watermark font size: ", "Watermark/Font Size").IfEquals(kDoWatermark, kText),
    Line("Watermark font leading: ", "Watermark/Font Leading").IfEquals(kDoWatermark, kText),
    Line("Watermark font color: ", "Watermark/Font Color").IfEquals(kDoWatermark, kText),
    Line("Watermark font style: ", "Watermark/Font Style").IfEquals(kDoWatermark, kText),
    Line("Watermark font effect: ", "Watermark/Font Effect").IfEquals(kDoWatermark, kText),
    Line("Watermark text antialiasing: ", "Watermark/Text Antialiasing").IfEquals(kDoWatermark, kText),
    Line("Watermark text alignment: ", "Watermark/Text Alignment").IfEquals(kDoWatermark, kText),
    Line("Watermark text padding: ", "Watermark/Text Padding").IfEquals(kDoWatermark, kText),
    Line("Watermark text opacity: ", "Watermark/Text Opacity").IfEquals(kDoWatermark, kText),
    Line("Watermark background color: ", "Watermark/Back Color").IfEquals(kDoWatermark, kText),
    Line("Watermark background opacity: ", "Watermark/Back Opacity").IfEquals(kDoWatermark, kText),
    Line("Watermark boundary: ", "Watermark/Text Boundary").IfEquals(kDoWatermark, kText),
    Line("Watermark position: ", "Watermark/Text Position").IfEquals(kDoWatermark, kText),
    Pair("Watermark offset (x/y): ", "Watermark/Text X Offset", "Watermark/Text Y Offset")
        .IfEquals(kDoWatermark, kText),
    Line("Watermark rotation: ", "Watermark/Text Rotation").IfEquals(kDoWatermark, kText),
    Line("Watermark size/mode: ", "Watermark/Text Size").IfEquals(kDoWatermark, kText),
    Check("Watermark/Font").IfEquals(kDoWatermark, kText),

    Line("Watermark image: ", "Watermark/Image").IfEquals(kDoWatermark, kImage),
    Line("Watermark greyscale: ", "Watermark/Image Greyscale").IfEquals(kDoWatermark, kImage),
    Line("Watermark opacity: ", "Watermark/Image Opacity").IfEquals(kDoWatermark, kImage),
    Line("Watermark boundary: ", "Watermark/Image Boundary").IfEquals(kDoWatermark, kImage),
    Line("Watermark position: ", "Watermark/Image Position").IfEquals(kDoWatermark, kImage),
    Pair("Watermark offset (x/y): ", "Watermark/Image X Offset", "Watermark/Image Y Offset")
        .IfEquals(kDoWatermark, kImage),
    Line("Watermark rotation: ", "Watermark/Image Rotation").IfEquals(kDoWatermark, kImage),
    Line("Watermark size/mode: ", "Watermark/Image Size").IfEquals(kDoWatermark, kImage),
    Check("Watermark/Image").IfEquals(kDoWatermark, kImage),

    Line("Filename Mask: ", "Advanced/Filename Mask"),
    Line("File Timestamp: ", "Advanced/File Timestamp"),
    Line("Custom Timestamp: ", "Advanced/Custom Timestamp").IfEquals("Advanced/File Timestamp", FileTimestamp::kCustom),
    Line("Keep Subfolders: ", "Advanced/Keep Subfolders"),
    // A default listing stays as it was: the line shows only a choice made.
    Check("Advanced/Metadata"),
    Line("Metadata: ", "Advanced/Metadata").IfNotDefault(),
};

// Every named setting exists; a line has a label, a check none and names a setting that has a check; a condition
// names its setting.
constexpr bool IsWellFormed(const ListingRow& row) {
  const std::size_t index = SettingIndex(row.setting);
  if (index == kNoSetting || (!row.secondSetting.empty() && !IsSettingName(row.secondSetting))) return false;
  const bool conditionNamesSetting = row.when != When::kAlways && row.when != When::kNotDefault;
  if (conditionNamesSetting != IsSettingName(row.whenSetting)) return false;
  const bool twoValues = row.shown == Shown::kNumberAndUnit || row.shown == Shown::kNumberPair;
  if (twoValues == row.secondSetting.empty()) return false;
  if (row.shown == Shown::kCheck) {
    return row.label.empty() && kSettingTable[index].validation.check != SettingCheck::kNone;
  }
  return !row.label.empty();
}

constexpr bool RowsAreWellFormed() {
  for (const ListingRow& row : kEditAndNamingRows) {
    if (!IsWellFormed(row)) return false;
  }
  return true;
}
static_assert(RowsAreWellFormed());

}  // namespace listing_rows

}  // namespace lumivane
