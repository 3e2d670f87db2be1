#include "cli/option_table.h"

#include <array>

#include "cli/value_rules.h"

namespace lumivane {
namespace {

using enum KeywordTable;

constexpr std::array kOptionTable = {
    // Decoding of inputs.
    KeywordOption("--DDS-LOAD-AS", "Input/DDS Load As", kDdsLoadAs),
    KeywordOption("--GIF-FRAME-LOADING", "Input/GIF Frame Loading", kFrameLoading),
    KeywordOption("--ICO-FRAME-LOADING", "Input/ICO Frame Loading", kFrameLoading),
    KeywordOption("--PSD-COLOR-MODE", "Input/PSD Color Mode", kColorMode),
    KeywordOption("--RAW-LOAD-AS", "Input/RAW Load As", kRawLoadAs),
    IntegerOption("--RAW-HEADER-SIZE", "Input/RAW Header Size"),
    IntegerOption("--RAW-WIDTH", "Input/RAW Image Width"),
    IntegerOption("--RAW-HEIGHT", "Input/RAW Image Height"),
    KeywordOption("--RAW-TONE-MAPPING", "Input/RAW Tone Mapping", kToneMapping),
    KeywordOption("--TIFF-FRAME-LOADING", "Input/TIFF Frame Loading", kFrameLoading),

    // Encoders, format by format, each bit depth first.
    IntegerOption("--BMP-BPP", "Output/BMP BPP"),
    KeywordOption("--BMP-COMPRESSION", "Output/BMP Compression", kCompression),
    KeywordOption("--BMP-COLOR-TABLE", "Output/BMP Color Table", kColorTable),
    IntegerOption("--DDS-BPP", "Output/DDS BPP"),
    IntegerOption("--EXR-BPP", "Output/EXR BPP"),
    KeywordOption("--EXR-COMPRESSION", "Output/EXR Compression", kCompression),
    IntegerOption("--GIF-BPP", "Output/GIF BPP"),
    IntegerOption("--HDR-BPP", "Output/HDR BPP"),
    IntegerOption("--ICO-BPP", "Output/ICO BPP"),
    IntegerOption("--J2K-BPP", "Output/J2K BPP"),
    IntegerOption("--JNG-BPP", "Output/JNG BPP"),
    IntegerOption("--JP2-BPP", "Output/JP2 BPP"),
    IntegerOption("--JPG-BPP", "Output/JPG BPP"),
    IntegerOption("--JPG-QUALITY", "Output/JPG Quality"),
    KeywordOption("--JPG-CHROMA", "Output/JPG Chroma", kChroma),
    KeywordOption("--JPG-SAVE-AS", "Output/JPG Save As", kSaveAs),
    IntegerOption("--JXR-BPP", "Output/JXR BPP"),
    IntegerOption("--PBM-BPP", "Output/PBM BPP"),
    IntegerOption("--PCX-BPP", "Output/PCX BPP"),
    IntegerOption("--PFM-BPP", "Output/PFM BPP"),
    IntegerOption("--PGM-BPP", "Output/PGM BPP"),
    IntegerOption("--PNG-BPP", "Output/PNG BPP"),
    KeywordOption("--PNG-COMPRESSION", "Output/PNG Compression", kCompression),
    FlagOption("--PNG-INTERLACED", "Output/PNG Interlaced", 1),
    IntegerOption("--PPM-BPP", "Output/PPM BPP"),
    IntegerOption("--PSD-BPP", "Output/PSD BPP"),
    IntegerOption("--TGA-BPP", "Output/TGA BPP"),
    KeywordOption("--TGA-COMPRESSION", "Output/TGA Compression", kCompression),
    IntegerOption("--TIFF-BPP", "Output/TIFF BPP"),
    KeywordOption("--TIFF-COMPRESSION", "Output/TIFF Compression", kCompression),
    KeywordOption("--TIFF-COLOR-MODE", "Output/TIFF Color Mode", kColorMode),
    IntegerOption("--WBMP-BPP", "Output/WBMP BPP"),
    IntegerOption("--WEBP-BPP", "Output/WEBP BPP"),
    IntegerOption("--WEBP-QUALITY", "Output/WEBP Quality"),
    IntegerOption("--XPM-BPP", "Output/XPM BPP"),

    // Geometry.
    KeywordOption("--ROTATION-TYPE", "Transform/Image Rotation Type", kRotationType),
    IntegerOption("--ROTATION", "Transform/Image Rotation").Also("Transform/Do Image Rotation", 1),
    TextOption("--ROTATION-BACK-COLOR", "Transform/Image Rotation Back Color"),
    IntegerOption("--WIDTH", "Transform/Image Width").Also("Transform/Do Image Resize", 1),
    KeywordOption("--WIDTH-UNIT", "Transform/Image Width Unit", kSizeUnit),
    IntegerOption("--HEIGHT", "Transform/Image Height").Also("Transform/Do Image Resize", 1),
    KeywordOption("--HEIGHT-UNIT", "Transform/Image Height Unit", kSizeUnit),
    FlagOption("--KEEP-ASPECT-RATIO", "Transform/Keep Aspect Ratio", 1),
    KeywordOption("--RESIZE-TYPE", "Transform/Image Resize Type", kResizeType),
    KeywordOption("--RESIZE-ALGORITHM", "Transform/Image Resize Algorithm", kResizeAlgorithm),
    FlagOption("--FLIP-HORIZONTAL", "Transform/Do Image Flip Horizontal", 1),
    FlagOption("--FLIP-VERTICAL", "Transform/Do Image Flip Vertical", 1),

    // Colour adjustments.
    IntegerOption("--BRIGHTNESS", "Adjustment/Image Brightness").Also("Adjustment/Do Image Color Correction", 1),
    IntegerOption("--CONTRAST", "Adjustment/Image Contrast").Also("Adjustment/Do Image Color Correction", 1),
    RealOption("--GAMMA", "Adjustment/Image Gamma").Also("Adjustment/Do Image Color Correction", 1),
    FlagOption("--INVERT", "Adjustment/Image Invert", 1).Also("Adjustment/Do Image Color Correction", 1),
    FlagOption("--GREYSCALE", "Adjustment/Do Image Greyscale", 1),
    IntegerOption("--THRESHOLD", "Adjustment/Image Threshold").Also("Adjustment/Do Image Threshold", 1),
    KeywordOption("--DITHER", "Adjustment/Image Dither Algorithm", kDither).Also("Adjustment/Do Image Dither", 1),

    // Solid frame.
    IntegerOption("--FR-SOLID-LEFT", "Frame/Solid Left").Also("Frame/Do Frame", 1),
    IntegerOption("--FR-SOLID-RIGHT", "Frame/Solid Right").Also("Frame/Do Frame", 1),
    IntegerOption("--FR-SOLID-TOP", "Frame/Solid Top").Also("Frame/Do Frame", 1),
    IntegerOption("--FR-SOLID-BOTTOM", "Frame/Solid Bottom").Also("Frame/Do Frame", 1),
    TextOption("--FR-SOLID-LEFT-COLOR", "Frame/Solid Left Color"),
    TextOption("--FR-SOLID-RIGHT-COLOR", "Frame/Solid Right Color"),
    TextOption("--FR-SOLID-TOP-COLOR", "Frame/Solid Top Color"),
    TextOption("--FR-SOLID-BOTTOM-COLOR", "Frame/Solid Bottom Color"),
    // The frame opacity is the one option named differently on the command line and in profile files.
    IntegerOption("--FR-SOLID-OPACITY", "Frame/Solid Opacity").Only(OptionScope::kCommandLineOnly),
    IntegerOption("--WM-SOLID-OPACITY", "Frame/Solid Opacity").Only(OptionScope::kProfileOnly),

    // Text watermark.
    TextOption("--WM-TEXT", "Watermark/Text").Also("Watermark/Do Watermark", 1),
    TextOption("--WM-FONT", "Watermark/Font"),
    IntegerOption("--WM-FONT-SIZE", "Watermark/Font Size"),
    IntegerOption("--WM-FONT-LEADING", "Watermark/Font Leading"),
    TextOption("--WM-FONT-COLOR", "Watermark/Font Color"),
    KeywordOption("--WM-FONT-STYLE", "Watermark/Font Style", kFontStyle),
    KeywordOption("--WM-FONT-EFFECT", "Watermark/Font Effect", kFontEffect),
    FlagOption("--WM-TEXT-ANTIALIASING", "Watermark/Text Antialiasing", 1),
    KeywordOption("--WM-TEXT-ALIGNMENT", "Watermark/Text Alignment", kTextAlignment),
    IntegerOption("--WM-TEXT-PADDING", "Watermark/Text Padding"),
    IntegerOption("--WM-TEXT-OPACITY", "Watermark/Text Opacity"),
    TextOption("--WM-BACK-COLOR", "Watermark/Back Color"),
    IntegerOption("--WM-BACK-OPACITY", "Watermark/Back Opacity"),
    KeywordOption("--WM-TEXT-BOUNDARY", "Watermark/Text Boundary", kBoundary),
    KeywordOption("--WM-TEXT-POSITION", "Watermark/Text Position", kPosition),
    IntegerOption("--WM-TEXT-X-OFFSET", "Watermark/Text X Offset"),
    IntegerOption("--WM-TEXT-Y-OFFSET", "Watermark/Text Y Offset"),
    IntegerOption("--WM-TEXT-ROTATION", "Watermark/Text Rotation"),
    KeywordOption("--WM-TEXT-SIZE", "Watermark/Text Size", kSizeMode),

    // Picture watermark.
    TextOption("--WM-IMAGE", "Watermark/Image").Also("Watermark/Do Watermark", 2),
    FlagOption("--WM-IMAGE-GREYSCALE", "Watermark/Image Greyscale", 1),
    IntegerOption("--WM-IMAGE-OPACITY", "Watermark/Image Opacity"),
    KeywordOption("--WM-IMAGE-BOUNDARY", "Watermark/Image Boundary", kBoundary),
    KeywordOption("--WM-IMAGE-POSITION", "Watermark/Image Position", kPosition),
    IntegerOption("--WM-IMAGE-X-OFFSET", "Watermark/Image X Offset"),
    IntegerOption("--WM-IMAGE-Y-OFFSET", "Watermark/Image Y Offset"),
    IntegerOption("--WM-IMAGE-ROTATION", "Watermark/Image Rotation"),
    KeywordOption("--WM-IMAGE-SIZE", "Watermark/Image Size", kSizeMode),

    // Output naming.
    TextOption("--FILENAME-MASK", "Advanced/Filename Mask").QuoteTrimmedInProfile(),
    KeywordOption("--FILE-TIMESTAMP", "Advanced/File Timestamp", kTimestamp),
    IntegerOption("--FILE-TIMESTAMP-CUSTOM", "Advanced/Custom Timestamp"),
    FlagOption("--NO-SUBFOLDERS", "Advanced/Keep Subfolders", 0),
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

constexpr bool KeywordRowsNameUsableTables() {
  for (const OptionRow& row : kOptionTable) {
    if (row.kind != ValueKind::kKeyword) continue;
    // Tables 14 and 15 only name stored codes; no option reads them.
    if (row.keywords == kFrameKind || row.keywords == kWatermarkKind) return false;
  }
  return true;
}
static_assert(KeywordRowsNameUsableTables(), "an option reads a reverse-only keyword table");

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

}  // namespace lumivane
