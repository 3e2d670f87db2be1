#include "cli/option_table.h"

#include <array>
#include <string>

#include "cli/value_rules.h"
#include "platform/ascii_text.h"

namespace lumivane {
namespace {

constexpr std::array kOptionTable = {
    // Decoding of inputs.
    KeywordOption("--DDS-LOAD-AS", "Input/DDS Load As"),
    KeywordOption("--GIF-FRAME-LOADING", "Input/GIF Frame Loading"),
    KeywordOption("--ICO-FRAME-LOADING", "Input/ICO Frame Loading"),
    KeywordOption("--PSD-COLOR-MODE", "Input/PSD Color Mode"),
    KeywordOption("--RAW-LOAD-AS", "Input/RAW Load As"),
    IntegerOption("--RAW-HEADER-SIZE", "Input/RAW Header Size"),
    IntegerOption("--RAW-WIDTH", "Input/RAW Image Width"),
    IntegerOption("--RAW-HEIGHT", "Input/RAW Image Height"),
    KeywordOption("--RAW-TONE-MAPPING", "Input/RAW Tone Mapping"),
    KeywordOption("--TIFF-FRAME-LOADING", "Input/TIFF Frame Loading"),

    // Encoders, format by format, each bit depth first.
    IntegerOption("--BMP-BPP", "Output/BMP BPP"),
    KeywordOption("--BMP-COMPRESSION", "Output/BMP Compression"),
    KeywordOption("--BMP-COLOR-TABLE", "Output/BMP Color Table"),
    IntegerOption("--DDS-BPP", "Output/DDS BPP"),
    IntegerOption("--EXR-BPP", "Output/EXR BPP"),
    KeywordOption("--EXR-COMPRESSION", "Output/EXR Compression"),
    IntegerOption("--GIF-BPP", "Output/GIF BPP"),
    IntegerOption("--HDR-BPP", "Output/HDR BPP"),
    IntegerOption("--ICO-BPP", "Output/ICO BPP"),
    IntegerOption("--J2K-BPP", "Output/J2K BPP"),
    IntegerOption("--JNG-BPP", "Output/JNG BPP"),
    IntegerOption("--JP2-BPP", "Output/JP2 BPP"),
    IntegerOption("--JPG-BPP", "Output/JPG BPP"),
    IntegerOption("--JPG-QUALITY", "Output/JPG Quality"),
    KeywordOption("--JPG-CHROMA", "Output/JPG Chroma"),
    KeywordOption("--JPG-SAVE-AS", "Output/JPG Save As"),
    IntegerOption("--JXR-BPP", "Output/JXR BPP"),
    IntegerOption("--PBM-BPP", "Output/PBM BPP"),
    IntegerOption("--PCX-BPP", "Output/PCX BPP"),
    IntegerOption("--PFM-BPP", "Output/PFM BPP"),
    IntegerOption("--PGM-BPP", "Output/PGM BPP"),
    IntegerOption("--PNG-BPP", "Output/PNG BPP"),
    KeywordOption("--PNG-COMPRESSION", "Output/PNG Compression"),
    FlagOption("--PNG-INTERLACED", "Output/PNG Interlaced", 1),
    IntegerOption("--PPM-BPP", "Output/PPM BPP"),
    IntegerOption("--PSD-BPP", "Output/PSD BPP"),
    IntegerOption("--TGA-BPP", "Output/TGA BPP"),
    KeywordOption("--TGA-COMPRESSION", "Output/TGA Compression"),
    IntegerOption("--TIFF-BPP", "Output/TIFF BPP"),
    KeywordOption("--TIFF-COMPRESSION", "Output/TIFF Compression"),
    KeywordOption("--TIFF-COLOR-MODE", "Output/TIFF Color Mode"),
    IntegerOption("--WBMP-BPP", "Output/WBMP BPP"),
    IntegerOption("--WEBP-BPP", "Output/WEBP BPP"),
    IntegerOption("--WEBP-QUALITY", "Output/WEBP Quality"),
    IntegerOption("--XPM-BPP", "Output/XPM BPP"),

    // Geometry.
    KeywordOption("--ROTATION-TYPE", "Transform/Image Rotation Type"),
    IntegerOption("--ROTATION", "Transform/Image Rotation").Also("Transform/Do Image Rotation", 1),
    TextOption("--ROTATION-BACK-COLOR", "Transform/Image Rotation Back Color"),
    IntegerOption("--WIDTH", "Transform/Image Width").Also("Transform/Do Image Resize", 1),
    KeywordOption("--WIDTH-UNIT", "Transform/Image Width Unit"),
    IntegerOption("--HEIGHT", "Transform/Image Height").Also("Transform/Do Image Resize", 1),
    KeywordOption("--HEIGHT-UNIT", "Transform/Image Height Unit"),
    FlagOption("--KEEP-ASPECT-RATIO", "Transform/Keep Aspect Ratio", 1),
    KeywordOption("--RESIZE-TYPE", "Transform/Image Resize Type"),
    KeywordOption("--RESIZE-ALGORITHM", "Transform/Image Resize Algorithm"),
    FlagOption("--FLIP-HORIZONTAL", "Transform/Do Image Flip Horizontal", 1),
    FlagOption("--FLIP-VERTICAL", "Transform/Do Image Flip Vertical", 1),

    // Colour adjustments.
    IntegerOption("--BRIGHTNESS", "Adjustment/Image Brightness").Also("Adjustment/Do Image Color Correction", 1),
    IntegerOption("--CONTRAST", "Adjustment/Image Contrast").Also("Adjustment/Do Image Color Correction", 1),
    RealOption("--GAMMA", "Adjustment/Image Gamma").Also("Adjustment/Do Image Color Correction", 1),
    FlagOption("--INVERT", "Adjustment/Image Invert", 1).Also("Adjustment/Do Image Color Correction", 1),
    FlagOption("--GREYSCALE", "Adjustment/Do Image Greyscale", 1),
    IntegerOption("--THRESHOLD", "Adjustment/Image Threshold").Also("Adjustment/Do Image Threshold", 1),
    KeywordOption("--DITHER", "Adjustment/Image Dither Algorithm").Also("Adjustment/Do Image Dither", 1),

    // Solid frame.
    IntegerOption("--FR-SOLID-LEFT", "Frame/Solid Left").Also("Frame/Do Frame", FrameKind::kSolid),
    IntegerOption("--FR-SOLID-RIGHT", "Frame/Solid Right").Also("Frame/Do Frame", FrameKind::kSolid),
    IntegerOption("--FR-SOLID-TOP", "Frame/Solid Top").Also("Frame/Do Frame", FrameKind::kSolid),
    IntegerOption("--FR-SOLID-BOTTOM", "Frame/Solid Bottom").Also("Frame/Do Frame", FrameKind::kSolid),
    TextOption("--FR-SOLID-LEFT-COLOR", "Frame/Solid Left Color"),
    TextOption("--FR-SOLID-RIGHT-COLOR", "Frame/Solid Right Color"),
    TextOption("--FR-SOLID-TOP-COLOR", "Frame/Solid Top Color"),
    TextOption("--FR-SOLID-BOTTOM-COLOR", "Frame/Solid Bottom Color"),
    // The frame opacity is the one option named differently on the command line and in profile files.
    IntegerOption("--FR-SOLID-OPACITY", "Frame/Solid Opacity").Only(OptionScope::kCommandLineOnly),
    IntegerOption("--WM-SOLID-OPACITY", "Frame/Solid Opacity").Only(OptionScope::kProfileOnly),

    // Text watermark.
    TextOption("--WM-TEXT", "Watermark/Text").Also("Watermark/Do Watermark", WatermarkKind::kText),
    TextOption("--WM-FONT", "Watermark/Font"),
    IntegerOption("--WM-FONT-SIZE", "Watermark/Font Size"),
    IntegerOption("--WM-FONT-LEADING", "Watermark/Font Leading"),
    TextOption("--WM-FONT-COLOR", "Watermark/Font Color"),
    KeywordOption("--WM-FONT-STYLE", "Watermark/Font Style"),
    KeywordOption("--WM-FONT-EFFECT", "Watermark/Font Effect"),
    FlagOption("--WM-TEXT-ANTIALIASING", "Watermark/Text Antialiasing", 1),
    KeywordOption("--WM-TEXT-ALIGNMENT", "Watermark/Text Alignment"),
    IntegerOption("--WM-TEXT-PADDING", "Watermark/Text Padding"),
    IntegerOption("--WM-TEXT-OPACITY", "Watermark/Text Opacity"),
    TextOption("--WM-BACK-COLOR", "Watermark/Back Color"),
    IntegerOption("--WM-BACK-OPACITY", "Watermark/Back Opacity"),
    KeywordOption("--WM-TEXT-BOUNDARY", "Watermark/Text Boundary"),
    KeywordOption("--WM-TEXT-POSITION", "Watermark/Text Position"),
    IntegerOption("--WM-TEXT-X-OFFSET", "Watermark/Text X Offset"),
    IntegerOption("--WM-TEXT-Y-OFFSET", "Watermark/Text Y Offset"),
    IntegerOption("--WM-TEXT-ROTATION", "Watermark/Text Rotation"),
    KeywordOption("--WM-TEXT-SIZE", "Watermark/Text Size"),

    // Picture watermark.
    TextOption("--WM-IMAGE", "Watermark/Image").Also("Watermark/Do Watermark", WatermarkKind::kImage),
    FlagOption("--WM-IMAGE-GREYSCALE", "Watermark/Image Greyscale", 1),
    IntegerOption("--WM-IMAGE-OPACITY", "Watermark/Image Opacity"),
    KeywordOption("--WM-IMAGE-BOUNDARY", "Watermark/Image Boundary"),
    KeywordOption("--WM-IMAGE-POSITION", "Watermark/Image Position"),
    IntegerOption("--WM-IMAGE-X-OFFSET", "Watermark/Image X Offset"),
    IntegerOption("--WM-IMAGE-Y-OFFSET", "Watermark/Image Y Offset"),
    IntegerOption("--WM-IMAGE-ROTATION", "Watermark/Image Rotation"),
    KeywordOption("--WM-IMAGE-SIZE", "Watermark/Image Size"),

    // Output naming.
    TextOption("--FILENAME-MASK", "Advanced/Filename Mask").QuoteTrimmedInProfile(),
    KeywordOption("--FILE-TIMESTAMP", "Advanced/File Timestamp"),
    IntegerOption("--FILE-TIMESTAMP-CUSTOM", "Advanced/Custom Timestamp"),
    FlagOption("--NO-SUBFOLDERS", "Advanced/Keep Subfolders", 0),

    // What the outputs carry of the input's metadata.
    KeywordOption("--METADATA", "Advanced/Metadata"),
};

constexpr bool IsUpperOptionName(std::string_view name) {
  if (name.size() < 3 || name.substr(0, 2) != "--") return false;
  for (char c : name) {
    if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-')) return false;
  }
  return true;
}

constexpr bool NamesAreWellFormedAndUnique() {
  for (std::size_t i = 0; i < kOptionTable.size(); ++i) {
    if (!IsUpperOptionName(kOptionTable[i].name)) return false;
    for (std::size_t j = 0; j < i; ++j) {
      if (kOptionTable[j].name == kOptionTable[i].name) return false;
    }
  }
  return true;
}
static_assert(NamesAreWellFormedAndUnique(), "option names are unique upper-case words beginning with --");

bool Applies(const OptionRow& row, bool fromProfile) {
  return row.scope == OptionScope::kEverywhere ||
         row.scope == (fromProfile ? OptionScope::kProfileOnly : OptionScope::kCommandLineOnly);
}

}  // namespace

std::span<const OptionRow> OptionTable() { return kOptionTable; }

const OptionRow* FindOption(std::string_view name, bool fromProfile) {
  const std::string wanted = AsciiUpper(name);
  for (const OptionRow& row : kOptionTable) {
    if (row.name == wanted && Applies(row, fromProfile)) return &row;
  }
  return nullptr;
}

// The rows' targets were checked at compile time to have the type their kind stores, so every SetSetting succeeds.
void ApplyOptionRow(Settings& settings, const OptionRow& row, std::string_view value, bool fromProfile) {
  const SettingRow& target = *row.target;
  switch (row.kind) {
    case ValueKind::kInteger: SetSetting(settings, target, ParseIntegerValue(value)); break;
    case ValueKind::kReal: SetSetting(settings, target, ParseRealValue(value)); break;
    case ValueKind::kText: {
      const std::string_view text = fromProfile && !row.quoteTrimInProfile ? TrimBlanks(value) : QuoteTrim(value);
      SetSetting(settings, target, text);
      break;
    }
    case ValueKind::kKeyword: {
      // Most keyword settings take an unknown word as code 0; a row that checks its keyword refuses it later.
      const bool refusesUnknown = target.validation.check == SettingCheck::kKnownKeyword;
      const std::int32_t unknown = refusesUnknown ? kUnknownKeywordCode : 0;
      SetSetting(settings, target, KeywordValueOr(target.accepted, value, unknown));
      break;
    }
    case ValueKind::kFlag: SetSetting(settings, target, static_cast<std::int32_t>(row.flagValue)); break;
  }
  if (row.also != nullptr) SetSetting(settings, *row.also, static_cast<std::int32_t>(row.alsoValue));
}

void ApplyAdvancedOption(Settings& settings, std::string_view name, std::string_view value) {
  if (const OptionRow* row = FindOption(name, /*fromProfile=*/false)) ApplyOptionRow(settings, *row, value, false);
}

}  // namespace lumivane
