#pragma once
// The rows of the debug listing and of the setting checks that run between its lines. A row either shows one
// line ("label" + value) or checks one setting; it applies when its condition holds and, in the parts that depend
// on a format, when its format is the job's. Rows are plain constants, so adding a line touches one place.
#include <cstdint>
#include <string_view>

#include "cli/keyword_tables.h"
#include "settings/settings_table.h"

namespace lumivane {

// How a line shows its setting.
enum class Shown : std::uint8_t {
  kNumber,          // decimal, "-" when negative; flags as their stored 0 or 1
  kKeyword,         // the lower-case keyword that names the code; "" when none does
  kCompression,     // the keyword within the output format's own compression keywords
  kText,            // as stored
  kTwoDecimals,     // a float with exactly two decimals
  kNumberAndUnit,   // the number, a space and the keyword of the second setting
  kNumberPair,      // the number, "/" and the second setting's number
  kFormatBitDepth,  // the output format's bit-depth line, label and setting from bit_depth_settings.h
};

enum class Check : std::uint8_t {
  kNone,             // a line
  kRange,            // an integer within low..high inclusive
  kNotZero,          // any integer but 0
  kGammaRange,       // a float within 0.01..9.99, compared in single precision
  kAllowedBitDepth,  // the output format's bit-depth setting is one of its depths (or 0)
  kWatermarkFont,    // the watermark font can be made; it is kept for the batch
  kWatermarkImage,   // the watermark picture exists and is not empty
};

enum class When : std::uint8_t { kAlways, kOn, kEquals };

struct ListingRow {
  std::string_view format{};         // input group or output format the row belongs to; "" for every one
  When when = When::kAlways;
  std::string_view whenSetting{};    // the on/off or code setting of the condition
  std::int32_t whenValue = 0;        // the code kEquals asks for
  std::string_view label{};          // the line's text before the value; "" for a check and the bit-depth line
  std::string_view setting{};        // the setting shown or checked; "" where the format's bit depth is meant
  Shown shown = Shown::kNumber;
  KeywordTable keywords = KeywordTable::kDdsLoadAs;
  std::string_view secondSetting{};  // unit or y offset of the two-value lines
  std::int32_t low = 0;              // bounds of kRange
  std::int32_t high = 0;
  Check check = Check::kNone;
  std::string_view error{};          // the "Error: " line of a failed check

  constexpr ListingRow For(std::string_view formatIdentifier) const {
    ListingRow row = *this;
    row.format = formatIdentifier;
    return row;
  }
  constexpr ListingRow IfOn(std::string_view flagSetting) const {
    ListingRow row = *this;
    row.when = When::kOn;
    row.whenSetting = flagSetting;
    return row;
  }
  constexpr ListingRow IfEquals(std::string_view codeSetting, std::int32_t code) const {
    ListingRow row = *this;
    row.when = When::kEquals;
    row.whenSetting = codeSetting;
    row.whenValue = code;
    return row;
  }
};

namespace listing_rows {

constexpr ListingRow Number(std::string_view label, std::string_view setting) {
  return ListingRow{.label = label, .setting = setting};
}
constexpr ListingRow Text(std::string_view label, std::string_view setting) {
  return ListingRow{.label = label, .setting = setting, .shown = Shown::kText};
}
constexpr ListingRow Named(std::string_view label, std::string_view setting, KeywordTable keywords) {
  return ListingRow{.label = label, .setting = setting, .shown = Shown::kKeyword, .keywords = keywords};
}
constexpr ListingRow Compression(std::string_view label, std::string_view setting) {
  return ListingRow{.label = label, .setting = setting, .shown = Shown::kCompression};
}
constexpr ListingRow TwoDecimals(std::string_view label, std::string_view setting) {
  return ListingRow{.label = label, .setting = setting, .shown = Shown::kTwoDecimals};
}
constexpr ListingRow WithUnit(std::string_view label, std::string_view setting, std::string_view unit,
                              KeywordTable units) {
  return ListingRow{
      .label = label, .setting = setting, .shown = Shown::kNumberAndUnit, .keywords = units, .secondSetting = unit};
}
constexpr ListingRow Pair(std::string_view label, std::string_view first, std::string_view second) {
  return ListingRow{.label = label, .setting = first, .shown = Shown::kNumberPair, .secondSetting = second};
}
// The output format's own bit-depth line and check (labels and messages in bit_depth_settings.h).
constexpr ListingRow BitDepthLine() { return ListingRow{.shown = Shown::kFormatBitDepth}; }
constexpr ListingRow BitDepthCheck() { return ListingRow{.check = Check::kAllowedBitDepth}; }

constexpr ListingRow InRange(std::string_view setting, std::int32_t low, std::int32_t high, std::string_view error) {
  return ListingRow{.setting = setting, .low = low, .high = high, .check = Check::kRange, .error = error};
}
constexpr ListingRow NotZero(std::string_view setting, std::string_view error) {
  return ListingRow{.setting = setting, .check = Check::kNotZero, .error = error};
}
constexpr ListingRow GammaInRange(std::string_view setting, std::string_view error) {
  return ListingRow{.setting = setting, .check = Check::kGammaRange, .error = error};
}
constexpr ListingRow FontExists(std::string_view error) {
  return ListingRow{.check = Check::kWatermarkFont, .error = error};
}
constexpr ListingRow ImageExists(std::string_view setting, std::string_view error) {
  return ListingRow{.setting = setting, .check = Check::kWatermarkImage, .error = error};
}

using enum KeywordTable;

// First: the decoding options of the job's input format group.
inline constexpr ListingRow kInputFormatRows[] = {
    Named("DDS Load As: ", "Input/DDS Load As", kDdsLoadAs).For("dds"),
    Named("GIF Frame Loading: ", "Input/GIF Frame Loading", kFrameLoading).For("gif"),
    Named("ICO Frame Loading: ", "Input/ICO Frame Loading", kFrameLoading).For("ico"),
    Named("PSD Color Mode: ", "Input/PSD Color Mode", kColorMode).For("psd"),
    Named("RAW Load As: ", "Input/RAW Load As", kRawLoadAs).For("raw"),
    Number("RAW Header Size: ", "Input/RAW Header Size").For("raw"),
    Number("RAW Image Width: ", "Input/RAW Image Width").For("raw"),
    Number("RAW Image Height: ", "Input/RAW Image Height").For("raw"),
    Named("RAW Tone Mapping: ", "Input/RAW Tone Mapping", kToneMapping).For("raw"),
    Named("TIFF Frame Loading: ", "Input/TIFF Frame Loading", kFrameLoading).For("tiff"),
};

// Second: the encoder options of the output format; its bit depth first, then its further lines, then the
// checks.
inline constexpr ListingRow kOutputFormatRows[] = {
    BitDepthLine(),
    Compression("BMP Compression: ", "Output/BMP Compression").For("bmp"),
    Named("BMP Color Table: ", "Output/BMP Color Table", kColorTable).For("bmp"),
    Compression("EXR Compression: ", "Output/EXR Compression").For("exr"),
    Number("JPG Quality: ", "Output/JPG Quality").For("jpg"),
    Named("JPG Chroma Subsampling: ", "Output/JPG Chroma", kChroma).For("jpg"),
    Named("JPG Save As: ", "Output/JPG Save As", kSaveAs).For("jpg"),
    Compression("PNG Compression: ", "Output/PNG Compression").For("png"),
    Number("PNG Interlaced: ", "Output/PNG Interlaced").For("png"),
    Compression("TGA Compression: ", "Output/TGA Compression").For("tga"),
    Compression("TIFF Compression: ", "Output/TIFF Compression").For("tiff"),
    Named("TIFF Color Mode: ", "Output/TIFF Color Mode", kColorMode).For("tiff"),
    Number("WEBP Quality: ", "Output/WEBP Quality").For("webp"),
    BitDepthCheck(),
    InRange("Output/JPG Quality", 1, 100, "Error: Invalid jpg-quality value").For("jpg"),
    InRange("Output/WEBP Quality", 1, 100, "Error: Invalid webp-quality value").For("webp"),
};

inline constexpr std::string_view kDoRotation = "Transform/Do Image Rotation";
inline constexpr std::string_view kDoResize = "Transform/Do Image Resize";
inline constexpr std::string_view kDoColourCorrection = "Adjustment/Do Image Color Correction";
inline constexpr std::string_view kDoFrame = "Frame/Do Frame";
inline constexpr std::string_view kDoWatermark = "Watermark/Do Watermark";
inline constexpr std::int32_t kSolidFrame = 1;
inline constexpr std::int32_t kTextWatermark = 1;
inline constexpr std::int32_t kImageWatermark = 2;
inline constexpr std::int32_t kCustomTimestamp = 2;

// Third: the edits and the naming.
inline constexpr ListingRow kEditAndNamingRows[] = {
    Named("Image Rotation Type: ", "Transform/Image Rotation Type", kRotationType).IfOn(kDoRotation),
    Number("Image Rotation: ", "Transform/Image Rotation").IfOn(kDoRotation),
    Text("Image Rotation Back Color: ", "Transform/Image Rotation Back Color").IfOn(kDoRotation),

    WithUnit("Width: ", "Transform/Image Width", "Transform/Image Width Unit", kSizeUnit).IfOn(kDoResize),
    NotZero("Transform/Image Width", "Error: Invalid width value").IfOn(kDoResize),
    WithUnit("Height: ", "Transform/Image Height", "Transform/Image Height Unit", kSizeUnit).IfOn(kDoResize),
    NotZero("Transform/Image Height", "Error: Invalid height value").IfOn(kDoResize),
    Number("Keep Aspect Ratio: ", "Transform/Keep Aspect Ratio").IfOn(kDoResize),
    Named("Image Resize Type: ", "Transform/Image Resize Type", kResizeType).IfOn(kDoResize),
    Named("Image Resize Algorithm: ", "Transform/Image Resize Algorithm", kResizeAlgorithm).IfOn(kDoResize),

    Number("Flip Horizontal: ", "Transform/Do Image Flip Horizontal"),
    Number("Flip Vertical: ", "Transform/Do Image Flip Vertical"),

    Number("Brightness: ", "Adjustment/Image Brightness").IfOn(kDoColourCorrection),
    InRange("Adjustment/Image Brightness", -100, 100, "Error: Invalid brightness value").IfOn(kDoColourCorrection),
    Number("Contrast: ", "Adjustment/Image Contrast").IfOn(kDoColourCorrection),
    InRange("Adjustment/Image Contrast", -100, 100, "Error: Invalid contrast value").IfOn(kDoColourCorrection),
    TwoDecimals("Gamma: ", "Adjustment/Image Gamma").IfOn(kDoColourCorrection),
    GammaInRange("Adjustment/Image Gamma", "Error: Invalid gamma value").IfOn(kDoColourCorrection),
    Number("Invert: ", "Adjustment/Image Invert").IfOn(kDoColourCorrection),

    Number("Greyscale: ", "Adjustment/Do Image Greyscale"),
    Number("Image Threshold: ", "Adjustment/Image Threshold").IfOn("Adjustment/Do Image Threshold"),
    Named("Image Dithering Algorithm: ", "Adjustment/Image Dither Algorithm", kDither)
        .IfOn("Adjustment/Do Image Dither"),

    Named("Frame: ", kDoFrame, kFrameKind),
    Number("Frame left: ", "Frame/Solid Left").IfEquals(kDoFrame, kSolidFrame),
    Number("Frame right: ", "Frame/Solid Right").IfEquals(kDoFrame, kSolidFrame),
    Number("Frame top: ", "Frame/Solid Top").IfEquals(kDoFrame, kSolidFrame),
    Number("Frame bottom: ", "Frame/Solid Bottom").IfEquals(kDoFrame, kSolidFrame),
    Text("Frame left color: ", "Frame/Solid Left Color").IfEquals(kDoFrame, kSolidFrame),
    Text("Frame right color: ", "Frame/Solid Right Color").IfEquals(kDoFrame, kSolidFrame),
    Text("Frame top color: ", "Frame/Solid Top Color").IfEquals(kDoFrame, kSolidFrame),
    Text("Frame bottom color: ", "Frame/Solid Bottom Color").IfEquals(kDoFrame, kSolidFrame),
    Number("Frame opacity: ", "Frame/Solid Opacity").IfEquals(kDoFrame, kSolidFrame),

    Named("Watermark: ", kDoWatermark, kWatermarkKind),
    Text("Watermark text: ", "Watermark/Text").IfEquals(kDoWatermark, kTextWatermark),
    Text("Watermark font: ", "Watermark/Font").IfEquals(kDoWatermark, kTextWatermark),
    Number("Watermark font size: ", "Watermark/Font Size").IfEquals(kDoWatermark, kTextWatermark),
    Number("Watermark font leading: ", "Watermark/Font Leading").IfEquals(kDoWatermark, kTextWatermark),
    Text("Watermark font color: ", "Watermark/Font Color").IfEquals(kDoWatermark, kTextWatermark),
    Named("Watermark font style: ", "Watermark/Font Style", kFontStyle)
        .IfEquals(kDoWatermark, kTextWatermark),
    Named("Watermark font effect: ", "Watermark/Font Effect", kFontEffect)
        .IfEquals(kDoWatermark, kTextWatermark),
    Number("Watermark text antialiasing: ", "Watermark/Text Antialiasing")
        .IfEquals(kDoWatermark, kTextWatermark),
    Named("Watermark text alignment: ", "Watermark/Text Alignment", kTextAlignment)
        .IfEquals(kDoWatermark, kTextWatermark),
    Number("Watermark text padding: ", "Watermark/Text Padding").IfEquals(kDoWatermark, kTextWatermark),
    Number("Watermark text opacity: ", "Watermark/Text Opacity").IfEquals(kDoWatermark, kTextWatermark),
    Text("Watermark background color: ", "Watermark/Back Color").IfEquals(kDoWatermark, kTextWatermark),
    Number("Watermark background opacity: ", "Watermark/Back Opacity")
        .IfEquals(kDoWatermark, kTextWatermark),
    Named("Watermark boundary: ", "Watermark/Text Boundary", kBoundary)
        .IfEquals(kDoWatermark, kTextWatermark),
    Named("Watermark position: ", "Watermark/Text Position", kPosition)
        .IfEquals(kDoWatermark, kTextWatermark),
    Pair("Watermark offset (x/y): ", "Watermark/Text X Offset", "Watermark/Text Y Offset")
        .IfEquals(kDoWatermark, kTextWatermark),
    Number("Watermark rotation: ", "Watermark/Text Rotation").IfEquals(kDoWatermark, kTextWatermark),
    Named("Watermark size/mode: ", "Watermark/Text Size", kSizeMode).IfEquals(kDoWatermark, kTextWatermark),
    FontExists("Error: Invalid watermark font").IfEquals(kDoWatermark, kTextWatermark),

    Text("Watermark image: ", "Watermark/Image").IfEquals(kDoWatermark, kImageWatermark),
    Number("Watermark greyscale: ", "Watermark/Image Greyscale").IfEquals(kDoWatermark, kImageWatermark),
    Number("Watermark opacity: ", "Watermark/Image Opacity").IfEquals(kDoWatermark, kImageWatermark),
    Named("Watermark boundary: ", "Watermark/Image Boundary", kBoundary)
        .IfEquals(kDoWatermark, kImageWatermark),
    Named("Watermark position: ", "Watermark/Image Position", kPosition)
        .IfEquals(kDoWatermark, kImageWatermark),
    Pair("Watermark offset (x/y): ", "Watermark/Image X Offset", "Watermark/Image Y Offset")
        .IfEquals(kDoWatermark, kImageWatermark),
    Number("Watermark rotation: ", "Watermark/Image Rotation").IfEquals(kDoWatermark, kImageWatermark),
    Named("Watermark size/mode: ", "Watermark/Image Size", kSizeMode)
        .IfEquals(kDoWatermark, kImageWatermark),
    ImageExists("Watermark/Image", "Error: Invalid watermark image").IfEquals(kDoWatermark, kImageWatermark),

    Text("Filename Mask: ", "Advanced/Filename Mask"),
    Named("File Timestamp: ", "Advanced/File Timestamp", kTimestamp),
    Number("Custom Timestamp: ", "Advanced/Custom Timestamp").IfEquals("Advanced/File Timestamp", kCustomTimestamp),
    Number("Keep Subfolders: ", "Advanced/Keep Subfolders"),
};

constexpr bool NamesSettingOrNothing(std::string_view name) { return name.empty() || IsSettingName(name); }

// The rows that stand for the output format's own bit depth, whose names come from bit_depth_settings.h.
constexpr bool IsFormatBitDepthRow(const ListingRow& row) {
  return row.shown == Shown::kFormatBitDepth || row.check == Check::kAllowedBitDepth;
}

constexpr bool IsWellFormed(const ListingRow& row) {
  if (!NamesSettingOrNothing(row.setting) || !NamesSettingOrNothing(row.secondSetting)) return false;
  if (!NamesSettingOrNothing(row.whenSetting) || (row.when != When::kAlways) == row.whenSetting.empty()) return false;
  if (IsFormatBitDepthRow(row)) return row.label.empty() && row.setting.empty() && row.error.empty();
  const bool isCheck = row.check != Check::kNone;
  if (isCheck) return row.label.empty() && row.error.starts_with("Error: ");
  const bool twoValues = row.shown == Shown::kNumberAndUnit || row.shown == Shown::kNumberPair;
  return !row.label.empty() && !row.setting.empty() && twoValues != row.secondSetting.empty();
}

// Every named setting exists; a line has a label and a setting, a check an error line and no label; a condition
// names its setting. Only the font check works without a setting of its own.
template <std::size_t N>
constexpr bool RowsAreWellFormed(const ListingRow (&rows)[N]) {
  for (const ListingRow& row : rows) {
    if (!IsWellFormed(row)) return false;
    const bool needsSetting = !IsFormatBitDepthRow(row) && row.check != Check::kWatermarkFont;
    if (needsSetting == row.setting.empty()) return false;
  }
  return true;
}
static_assert(RowsAreWellFormed(kInputFormatRows));
static_assert(RowsAreWellFormed(kOutputFormatRows));
static_assert(RowsAreWellFormed(kEditAndNamingRows));

}  // namespace listing_rows

}  // namespace lumivane
