#pragma once
// The settings table: one row per setting of the Settings record, in record order, grouped as in a preferences
// file. Reset, the configuration file reader and writer, the options, the debug listing and its checks, the output
// format rows and the documents all walk this table, so every fact about a setting (name, default, owner, keywords,
// bounds and the error of its check) is written in exactly one place. Rows are constexpr, so other tables can check
// their targets at compile time: static_assert(IsSettingName("Output/JPG Quality")).
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "settings/setting_row.h"
#include "settings/settings.h"

namespace lumivane {

namespace settings_table_detail {

using S = Settings;

// The rows of settings that an input group or an output format owns; a format's bit depth is checked against it.
template <auto kField>
consteval SettingRow InputSetting(
    std::string_view key, setting_row_detail::DefaultOf<setting_row_detail::FieldOf<&S::input, kField>> byDefault,
    std::string_view group) {
  return Setting<&S::input, kField>("Input", key, byDefault, SavedWithInputGroup(group));
}
template <auto kField>
consteval SettingRow OutputSetting(
    std::string_view key, setting_row_detail::DefaultOf<setting_row_detail::FieldOf<&S::output, kField>> byDefault,
    std::string_view format) {
  return Setting<&S::output, kField>("Output", key, byDefault, SavedWithOutputFormat(format));
}
template <auto kField>
consteval SettingRow BitDepthSetting(std::string_view key, std::string_view format) {
  return OutputSetting<kField>(key, 0, format).Checked(SettingCheck::kAllowedBitDepth);
}

inline constexpr std::string_view kColourPalette = "000000,FFFFFF,FF0000,FF8000,FFFF00,008000,00FFFF,0000FF,8000FF";

// Defaults that depend on the run are set by ResetSettings: General/Update Date and Advanced/Custom Timestamp
// (the current time), Transform/Keep Aspect Ratio (command line or windowed) and Watermark/Text (the maker's
// notice). Input/Format and Output/Format default to the first entries of the format lists (checked there).
// Window/X and Window/Y would centre the window on a desktop; without one they are 100.
inline constexpr SettingRow kRows[] = {
    Setting<&S::general, &S::General::cfg>("General", "CFG", 19),
    Setting<&S::general, &S::General::language>("General", "Language", "en"),
    Setting<&S::general, &S::General::updateRange>("General", "Update Range", 2),
    Setting<&S::general, &S::General::updateDate>("General", "Update Date", 0),
    Setting<&S::general, &S::General::saveWindowPosition>("General", "Save Window Position", 1),
    Setting<&S::window, &S::Window::isMaximized>("Window", "IsMaximized", 0, kSavedWithWindowPosition),
    Setting<&S::window, &S::Window::x>("Window", "X", 100, kSavedWithWindowPosition),
    Setting<&S::window, &S::Window::y>("Window", "Y", 100, kSavedWithWindowPosition),
    Setting<&S::window, &S::Window::width>("Window", "Width", 510, kSavedWithWindowPosition),
    Setting<&S::window, &S::Window::height>("Window", "Height", 330, kSavedWithWindowPosition),
    Setting<&S::window, &S::Window::hidePasswords>("Window", "Hide Passwords", 0, kNeverSaved),
    Setting<&S::window, &S::Window::showSinglePassword>("Window", "Show Single Password", 1, kNeverSaved),
    Setting<&S::window, &S::Window::showPasswordList>("Window", "Show Password List", 1, kNeverSaved),
    Setting<&S::window, &S::Window::showCharacterSet>("Window", "Show Character Set", 1, kNeverSaved),
    Setting<&S::window, &S::Window::showAdvancedOptions>("Window", "Show Advanced Options", 1, kNeverSaved),
    Setting<&S::interface, &S::Interface::uiTheme>("Interface", "UI Theme", "handdrawn"),
    Setting<&S::interface, &S::Interface::uiSize>("Interface", "UI Size", 2),
    Setting<&S::input, &S::Input::format>("Input", "Format", "raw"),
    InputSetting<&S::Input::ddsLoadAs>("DDS Load As", DdsLoadAs::kAuto, "dds"),
    InputSetting<&S::Input::gifFrameLoading>("GIF Frame Loading", FrameLoading::kAll, "gif"),
    InputSetting<&S::Input::icoFrameLoading>("ICO Frame Loading", FrameLoading::kAll, "ico"),
    InputSetting<&S::Input::tiffFrameLoading>("TIFF Frame Loading", FrameLoading::kAll, "tiff"),
    InputSetting<&S::Input::psdColorMode>("PSD Color Mode", ColorMode::kRgb, "psd"),
    InputSetting<&S::Input::rawLoadAs>("RAW Load As", RawLoadAs::kAuto, "raw"),
    InputSetting<&S::Input::rawHeaderSize>("RAW Header Size", 0, "raw"),
    InputSetting<&S::Input::rawImageWidth>("RAW Image Width", 0, "raw"),
    InputSetting<&S::Input::rawImageHeight>("RAW Image Height", 0, "raw"),
    InputSetting<&S::Input::rawToneMapping>("RAW Tone Mapping", ToneMapping::kDrago, "raw"),
    Setting<&S::output, &S::Output::format>("Output", "Format", "bmp"),
    BitDepthSetting<&S::Output::bmpBpp>("BMP BPP", "bmp"),
    OutputSetting<&S::Output::bmpCompression>("BMP Compression", RleCompression::kNone, "bmp"),
    OutputSetting<&S::Output::bmpColorTable>("BMP Color Table", ColorTable::kAuto, "bmp"),
    BitDepthSetting<&S::Output::ddsBpp>("DDS BPP", "dds"),
    BitDepthSetting<&S::Output::exrBpp>("EXR BPP", "exr"),
    OutputSetting<&S::Output::exrCompression>("EXR Compression", ExrCompression::kNone, "exr"),
    BitDepthSetting<&S::Output::gifBpp>("GIF BPP", "gif"),
    BitDepthSetting<&S::Output::hdrBpp>("HDR BPP", "hdr"),
    BitDepthSetting<&S::Output::icoBpp>("ICO BPP", "ico"),
    BitDepthSetting<&S::Output::j2kBpp>("J2K BPP", "j2k"),
    BitDepthSetting<&S::Output::jngBpp>("JNG BPP", "jng"),
    BitDepthSetting<&S::Output::jp2Bpp>("JP2 BPP", "jp2"),
    BitDepthSetting<&S::Output::jpgBpp>("JPG BPP", "jpg"),
    OutputSetting<&S::Output::jpgQuality>("JPG Quality", 95, "jpg").Within(1, 100, "Invalid jpg-quality value"),
    OutputSetting<&S::Output::jpgChroma>("JPG Chroma", ChromaSubsampling::kNone, "jpg")
        .ListedAs("JPG Chroma Subsampling"),
    OutputSetting<&S::Output::jpgSaveAs>("JPG Save As", JpegSaveAs::kStandard, "jpg"),
    BitDepthSetting<&S::Output::jxrBpp>("JXR BPP", "jxr"),
    BitDepthSetting<&S::Output::pbmBpp>("PBM BPP", "pbm"),
    BitDepthSetting<&S::Output::pcxBpp>("PCX BPP", "pcx"),
    BitDepthSetting<&S::Output::pfmBpp>("PFM BPP", "pfm"),
    BitDepthSetting<&S::Output::pgmBpp>("PGM BPP", "pgm"),
    BitDepthSetting<&S::Output::pngBpp>("PNG BPP", "png"),
    OutputSetting<&S::Output::pngCompression>("PNG Compression", PngCompression::kNone, "png"),
    OutputSetting<&S::Output::pngInterlaced>("PNG Interlaced", 0, "png"),
    BitDepthSetting<&S::Output::ppmBpp>("PPM BPP", "ppm"),
    BitDepthSetting<&S::Output::psdBpp>("PSD BPP", "psd"),
    BitDepthSetting<&S::Output::tgaBpp>("TGA BPP", "tga"),
    OutputSetting<&S::Output::tgaCompression>("TGA Compression", RleCompression::kNone, "tga"),
    BitDepthSetting<&S::Output::tiffBpp>("TIFF BPP", "tiff"),
    OutputSetting<&S::Output::tiffCompression>("TIFF Compression", TiffCompression::kNone, "tiff"),
    OutputSetting<&S::Output::tiffColorMode>("TIFF Color Mode", ColorMode::kRgb, "tiff"),
    BitDepthSetting<&S::Output::wbmpBpp>("WBMP BPP", "wbmp"),
    BitDepthSetting<&S::Output::webpBpp>("WEBP BPP", "webp"),
    OutputSetting<&S::Output::webpQuality>("WEBP Quality", 100, "webp").Within(1, 100, "Invalid webp-quality value"),
    BitDepthSetting<&S::Output::xpmBpp>("XPM BPP", "xpm"),
    Setting<&S::transform, &S::Transform::doImageRotation>("Transform", "Do Image Rotation", 0),
    Setting<&S::transform, &S::Transform::imageRotationType>("Transform", "Image Rotation Type", RotationType::kSimple),
    Setting<&S::transform, &S::Transform::imageRotation>("Transform", "Image Rotation", 0),
    Setting<&S::transform, &S::Transform::imageRotationBackColor>("Transform", "Image Rotation Back Color", "000000"),
    Setting<&S::transform, &S::Transform::doImageResize>("Transform", "Do Image Resize", 0),
    Setting<&S::transform, &S::Transform::imageWidth>("Transform", "Image Width", 0)
        .Checked(SettingCheck::kNotZero, "Invalid width value"),
    Setting<&S::transform, &S::Transform::imageWidthUnit>("Transform", "Image Width Unit", SizeUnit::kPixels),
    Setting<&S::transform, &S::Transform::imageHeight>("Transform", "Image Height", 0)
        .Checked(SettingCheck::kNotZero, "Invalid height value"),
    Setting<&S::transform, &S::Transform::imageHeightUnit>("Transform", "Image Height Unit", SizeUnit::kPixels),
    Setting<&S::transform, &S::Transform::keepAspectRatio>("Transform", "Keep Aspect Ratio", 0),
    Setting<&S::transform, &S::Transform::imageResizeType>("Transform", "Image Resize Type", ResizeType::kAllImages),
    Setting<&S::transform, &S::Transform::imageResizeAlgorithm>("Transform", "Image Resize Algorithm",
                                                                ResizeAlgorithm::kBicubic),
    Setting<&S::transform, &S::Transform::doImageFlipHorizontal>("Transform", "Do Image Flip Horizontal", 0),
    Setting<&S::transform, &S::Transform::doImageFlipVertical>("Transform", "Do Image Flip Vertical", 0),
    Setting<&S::adjustment, &S::Adjustment::doImageColorCorrection>("Adjustment", "Do Image Color Correction", 0),
    Setting<&S::adjustment, &S::Adjustment::imageBrightness>("Adjustment", "Image Brightness", 0)
        .Within(-100, 100, "Invalid brightness value"),
    Setting<&S::adjustment, &S::Adjustment::imageContrast>("Adjustment", "Image Contrast", 0)
        .Within(-100, 100, "Invalid contrast value"),
    Setting<&S::adjustment, &S::Adjustment::imageGamma>("Adjustment", "Image Gamma", 1.0f)
        .WithinReal(0.01f, 9.99f, "Invalid gamma value"),
    Setting<&S::adjustment, &S::Adjustment::imageInvert>("Adjustment", "Image Invert", 0),
    Setting<&S::adjustment, &S::Adjustment::doImageGreyscale>("Adjustment", "Do Image Greyscale", 0),
    Setting<&S::adjustment, &S::Adjustment::doImageThreshold>("Adjustment", "Do Image Threshold", 0),
    Setting<&S::adjustment, &S::Adjustment::imageThreshold>("Adjustment", "Image Threshold", 0),
    Setting<&S::adjustment, &S::Adjustment::doImageDither>("Adjustment", "Do Image Dither", 0),
    Setting<&S::adjustment, &S::Adjustment::imageDitherAlgorithm>("Adjustment", "Image Dither Algorithm",
                                                                  DitherAlgorithm::kFloydSteinberg),
    Setting<&S::frame, &S::Frame::doFrame>("Frame", "Do Frame", FrameKind::kNone),
    Setting<&S::frame, &S::Frame::solidLeft>("Frame", "Solid Left", 0),
    Setting<&S::frame, &S::Frame::solidRight>("Frame", "Solid Right", 0),
    Setting<&S::frame, &S::Frame::solidTop>("Frame", "Solid Top", 0),
    Setting<&S::frame, &S::Frame::solidBottom>("Frame", "Solid Bottom", 0),
    Setting<&S::frame, &S::Frame::solidLeftColor>("Frame", "Solid Left Color", "000000"),
    Setting<&S::frame, &S::Frame::solidRightColor>("Frame", "Solid Right Color", "000000"),
    Setting<&S::frame, &S::Frame::solidTopColor>("Frame", "Solid Top Color", "000000"),
    Setting<&S::frame, &S::Frame::solidBottomColor>("Frame", "Solid Bottom Color", "000000"),
    Setting<&S::frame, &S::Frame::solidOpacity>("Frame", "Solid Opacity", 255),
    Setting<&S::watermark, &S::Watermark::doWatermark>("Watermark", "Do Watermark", WatermarkKind::kNone),
    Setting<&S::watermark, &S::Watermark::text>("Watermark", "Text", ""),
    Setting<&S::watermark, &S::Watermark::fonts>("Watermark", "Fonts", "Arial,Tahoma,Verdana"),
    Setting<&S::watermark, &S::Watermark::font>("Watermark", "Font", "Arial")
        .Checked(SettingCheck::kFontExists, "Invalid watermark font"),
    Setting<&S::watermark, &S::Watermark::fontSize>("Watermark", "Font Size", 14),
    Setting<&S::watermark, &S::Watermark::fontLeading>("Watermark", "Font Leading", 0),
    Setting<&S::watermark, &S::Watermark::fontColors>("Watermark", "Font Colors", kColourPalette),
    Setting<&S::watermark, &S::Watermark::fontColor>("Watermark", "Font Color", "FFFFFF"),
    Setting<&S::watermark, &S::Watermark::fontStyle>("Watermark", "Font Style", FontStyle::kRegular),
    Setting<&S::watermark, &S::Watermark::fontEffect>("Watermark", "Font Effect", FontEffect::kNone),
    Setting<&S::watermark, &S::Watermark::textAntialiasing>("Watermark", "Text Antialiasing", 0),
    Setting<&S::watermark, &S::Watermark::textAlignment>("Watermark", "Text Alignment", TextAlignment::kLeft),
    Setting<&S::watermark, &S::Watermark::textPadding>("Watermark", "Text Padding", 0),
    Setting<&S::watermark, &S::Watermark::textOpacity>("Watermark", "Text Opacity", 255),
    Setting<&S::watermark, &S::Watermark::backColors>("Watermark", "Back Colors", kColourPalette),
    Setting<&S::watermark, &S::Watermark::backColor>("Watermark", "Back Color", "000000"),
    Setting<&S::watermark, &S::Watermark::backOpacity>("Watermark", "Back Opacity", 1),
    Setting<&S::watermark, &S::Watermark::textBoundary>("Watermark", "Text Boundary", Boundary::kImage),
    Setting<&S::watermark, &S::Watermark::textPosition>("Watermark", "Text Position", Position::kBottomRight),
    Setting<&S::watermark, &S::Watermark::textXOffset>("Watermark", "Text X Offset", 10),
    Setting<&S::watermark, &S::Watermark::textYOffset>("Watermark", "Text Y Offset", 10),
    Setting<&S::watermark, &S::Watermark::textRotation>("Watermark", "Text Rotation", 0),
    Setting<&S::watermark, &S::Watermark::textSize>("Watermark", "Text Size", SizeMode::kFixed),
    Setting<&S::watermark, &S::Watermark::textScale>("Watermark", "Text Scale", 10),
    Setting<&S::watermark, &S::Watermark::image>("Watermark", "Image", "")
        .Checked(SettingCheck::kReadablePicture, "Invalid watermark image"),
    Setting<&S::watermark, &S::Watermark::imageGreyscale>("Watermark", "Image Greyscale", 0),
    Setting<&S::watermark, &S::Watermark::imageOpacity>("Watermark", "Image Opacity", 255),
    Setting<&S::watermark, &S::Watermark::imageBoundary>("Watermark", "Image Boundary", Boundary::kImage),
    Setting<&S::watermark, &S::Watermark::imagePosition>("Watermark", "Image Position", Position::kBottomRight),
    Setting<&S::watermark, &S::Watermark::imageXOffset>("Watermark", "Image X Offset", 10),
    Setting<&S::watermark, &S::Watermark::imageYOffset>("Watermark", "Image Y Offset", 10),
    Setting<&S::watermark, &S::Watermark::imageRotation>("Watermark", "Image Rotation", 0),
    Setting<&S::watermark, &S::Watermark::imageSize>("Watermark", "Image Size", SizeMode::kFixed),
    Setting<&S::watermark, &S::Watermark::imageScale>("Watermark", "Image Scale", 10),
    Setting<&S::advanced, &S::Advanced::filenameMask>("Advanced", "Filename Mask", "%filename%.%ext%"),
    Setting<&S::advanced, &S::Advanced::fileTimestamp>("Advanced", "File Timestamp", FileTimestamp::kCurrent),
    Setting<&S::advanced, &S::Advanced::customTimestamp>("Advanced", "Custom Timestamp", 0),
    Setting<&S::advanced, &S::Advanced::outFoldersHistory>("Advanced", "Out Folders History", 1),
    Setting<&S::advanced, &S::Advanced::outFoldersNumber>("Advanced", "Out Folders Number", 5),
    Setting<&S::advanced, &S::Advanced::keepSubfolders>("Advanced", "Keep Subfolders", 1),
    Setting<&S::advanced, &S::Advanced::metadata>("Advanced", "Metadata", MetadataKeeping::kKeep)
        .Checked(SettingCheck::kKnownKeyword, "Invalid metadata value"),
    Setting<&S::file, &S::File::txtFields>("File", "TxtFields", "username,password,firstname,lastname,title,sex,notes",
                                           kNeverSaved),
    Setting<&S::file, &S::File::csvDelimiter>("File", "CsvDelimiter", ",", kNeverSaved),
    Setting<&S::file, &S::File::recentOutFolders>("File", "Recent Out Folders", ""),
    Setting<&S::file, &S::File::recentFiles>("File", "Recent Files", ""),
    Setting<&S::privacy, &S::Privacy::cleanRecentFiles>("Privacy", "Clean Recent Files", 0),
};

}  // namespace settings_table_detail

inline constexpr std::span<const SettingRow> kSettingTable{settings_table_detail::kRows};

// Lookup by "Group/Key" (exact spelling) or by group and key.
inline constexpr std::size_t kNoSetting = static_cast<std::size_t>(-1);

// The row's position in kSettingTable, or kNoSetting.
constexpr std::size_t SettingIndex(std::string_view group, std::string_view key) {
  for (std::size_t i = 0; i < kSettingTable.size(); ++i) {
    if (kSettingTable[i].group == group && kSettingTable[i].key == key) return i;
  }
  return kNoSetting;
}
constexpr std::size_t SettingIndex(std::string_view groupSlashKey) {
  const std::size_t slash = groupSlashKey.find('/');
  if (slash == std::string_view::npos) return kNoSetting;
  return SettingIndex(groupSlashKey.substr(0, slash), groupSlashKey.substr(slash + 1));
}

// For static_asserts over other tables. (Sanitizer builds of GCC cannot compare a pointer into the table with
// nullptr at compile time, so compile-time checks should use this or SettingIndex rather than FindSetting.)
constexpr bool IsSettingName(std::string_view groupSlashKey) { return SettingIndex(groupSlashKey) != kNoSetting; }

// The row, or nullptr.
constexpr const SettingRow* FindSetting(std::string_view group, std::string_view key) {
  const std::size_t index = SettingIndex(group, key);
  return index == kNoSetting ? nullptr : &kSettingTable[index];
}
constexpr const SettingRow* FindSetting(std::string_view groupSlashKey) {
  const std::size_t index = SettingIndex(groupSlashKey);
  return index == kNoSetting ? nullptr : &kSettingTable[index];
}

// "Group/Key" of a row, for listings and messages.
std::string SettingName(const SettingRow& row);

// Typed access by row. Getters return false (and leave `value` alone) when the row has another type.
bool GetSetting(const Settings& settings, const SettingRow& row, std::int32_t& value);  // int8 or int32
bool GetSetting(const Settings& settings, const SettingRow& row, float& value);
bool GetSetting(const Settings& settings, const SettingRow& row, std::string& value);
// Setters return false when the row has another type. An int8 field keeps the low 8 bits of the number.
bool SetSetting(Settings& settings, const SettingRow& row, std::int32_t value);  // int8 or int32
bool SetSetting(Settings& settings, const SettingRow& row, float value);
bool SetSetting(Settings& settings, const SettingRow& row, std::string_view value);

// Stores the row's table default into its field.
void SetSettingDefault(Settings& settings, const SettingRow& row);
// Converts a preferences-file value by the row's type (integer or float rule of preferences_reader.h) and stores it.
void SetSettingFromText(Settings& settings, const SettingRow& row, std::string_view text);
// The value as a preferences file writes it: decimal integers (int8 signed), floats with six decimals or
// "+Infinity", "-Infinity", "NaN", texts unchanged.
std::string FormatSetting(const Settings& settings, const SettingRow& row);

namespace settings_table_detail {

constexpr bool NamesAreUnique() {
  for (std::size_t i = 0; i < kSettingTable.size(); ++i) {
    for (std::size_t j = i + 1; j < kSettingTable.size(); ++j) {
      if (kSettingTable[i].group == kSettingTable[j].group && kSettingTable[i].key == kSettingTable[j].key) {
        return false;
      }
    }
  }
  return true;
}

// The writer emits each group once, so the rows of a group must stand together.
constexpr bool GroupsAreContiguous() {
  for (std::size_t i = 1; i < kSettingTable.size(); ++i) {
    if (kSettingTable[i].group == kSettingTable[i - 1].group) continue;
    for (std::size_t j = 0; j + 1 < i; ++j) {
      if (kSettingTable[j].group == kSettingTable[i].group) return false;
    }
  }
  return true;
}

constexpr bool PerFormatRowsNameTheirFormat() {
  for (const SettingRow& row : kSettingTable) {
    const bool perFormat =
        row.saving.rule == SaveRule::kWithInputGroup || row.saving.rule == SaveRule::kWithOutputFormat;
    if (perFormat == row.saving.format.empty()) return false;
  }
  return true;
}

// Code settings name their codes, other settings have no keywords; bounds and errors come with their checks.
constexpr bool RowsAreConsistent() {
  for (const SettingRow& row : kSettingTable) {
    if (!row.keywords.empty() && (!IsWellFormedKeywordList(row.keywords) || !IsWellFormedKeywordList(row.accepted))) {
      return false;
    }
    const SettingValidation& check = row.validation;
    const bool needsError = check.check != SettingCheck::kNone && check.check != SettingCheck::kAllowedBitDepth;
    if (needsError == check.error.empty()) return false;
    if (check.check == SettingCheck::kAllowedBitDepth && row.saving.rule != SaveRule::kWithOutputFormat) return false;
    const bool numeric = row.type == SettingType::kInt8 || row.type == SettingType::kInt32;
    if ((check.check == SettingCheck::kIntegerRange || check.check == SettingCheck::kNotZero) && !numeric) return false;
    if (check.check == SettingCheck::kRealRange && row.type != SettingType::kFloat32) return false;
    if (check.check == SettingCheck::kKnownKeyword && row.keywords.empty()) return false;
  }
  return true;
}

// The configuration file writes the output formats' rows in the order of the output format list, which is
// alphabetical: the table keeps them in that order.
constexpr bool OutputFormatRowsAreAlphabetical() {
  std::string_view previous;
  for (const SettingRow& row : kSettingTable) {
    if (row.saving.rule != SaveRule::kWithOutputFormat) continue;
    if (row.saving.format < previous) return false;
    previous = row.saving.format;
  }
  return true;
}

static_assert(kSettingTable.size() == 144, "one row per setting");
static_assert(OutputFormatRowsAreAlphabetical(), "output format rows stand in the order of their formats");
static_assert(RowsAreConsistent(), "keyword lists well formed; every check with its error and the right type");
static_assert(NamesAreUnique(), "a Group/Key appears twice");
static_assert(GroupsAreContiguous(), "rows of one group must stand together");
static_assert(PerFormatRowsNameTheirFormat(), "exactly the per-format rows carry a format");

}  // namespace settings_table_detail

}  // namespace lumivane
