#pragma once
// The codes of the code-valued settings, each with the keywords that name them. A setting of one of these types
// can only be compared with its own named codes; the settings table, the options, the debug listing, the documents
// and the pipeline all read these lists.
#include <cstdint>
#include <span>

#include "settings/keywords.h"

namespace lumivane {

// KeywordsOf(Code) gives the keywords that name the codes of a code type, in list order (code 0 among them);
// AcceptedKeywordsOf(Code) those an option value may use for a setting of that type: its own, except for the
// compressions below.

// ---- Decoding of inputs ------------------------------------------------------------------------------------------

enum class DdsLoadAs : std::int32_t { kAuto, kBgra, kRgba };
inline constexpr Keyword kDdsLoadAsKeywords[] = {
    {"AUTO", DdsLoadAs::kAuto}, {"BGRA", DdsLoadAs::kBgra}, {"RGBA", DdsLoadAs::kRgba}};
constexpr std::span<const Keyword> KeywordsOf(DdsLoadAs) { return kDdsLoadAsKeywords; }

// GIF, ICO and TIFF inputs.
enum class FrameLoading : std::int32_t { kAll, kFirst, kMiddle, kLast, kRandom };
inline constexpr Keyword kFrameLoadingKeywords[] = {{"ALL", FrameLoading::kAll},
                                                    {"FIRST", FrameLoading::kFirst},
                                                    {"MIDDLE", FrameLoading::kMiddle},
                                                    {"LAST", FrameLoading::kLast},
                                                    {"RANDOM", FrameLoading::kRandom}};
constexpr std::span<const Keyword> KeywordsOf(FrameLoading) { return kFrameLoadingKeywords; }

// PSD inputs and TIFF outputs; LAB encodes like RGB.
enum class ColorMode : std::int32_t { kRgb, kCmyk, kLab };
inline constexpr Keyword kColorModeKeywords[] = {
    {"RGB", ColorMode::kRgb}, {"CMYK", ColorMode::kCmyk}, {"LAB", ColorMode::kLab}};
constexpr std::span<const Keyword> KeywordsOf(ColorMode) { return kColorModeKeywords; }

enum class RawLoadAs : std::int32_t {
  kAuto,        // the embedded preview, else 24-bit RGB
  k8,           // headerless 8-bit pixels first
  k16,          // headerless 16-bit (5-6-5) pixels first
  k24,          // 24-bit RGB
  k48HalfSize,  // half-size linear 48-bit RGB
  k48,          // linear 48-bit RGB
  k24HalfSize,  // half-size 24-bit RGB
  kFit,         // per file: half-size 24-bit RGB when it still covers the resize target, else 24-bit RGB
};
inline constexpr Keyword kRawLoadAsKeywords[] = {{"AUTO", RawLoadAs::kAuto},       {"8", RawLoadAs::k8},
                                                 {"16", RawLoadAs::k16},           {"24", RawLoadAs::k24},
                                                 {"48HS", RawLoadAs::k48HalfSize}, {"48", RawLoadAs::k48},
                                                 {"24HS", RawLoadAs::k24HalfSize}, {"FIT", RawLoadAs::kFit}};
constexpr std::span<const Keyword> KeywordsOf(RawLoadAs) { return kRawLoadAsKeywords; }

// How 48-bit camera data comes down to 24 bits.
enum class ToneMapping : std::int32_t { kNone, kLinear, kDrago, kReinhard, kFattal };
inline constexpr Keyword kToneMappingKeywords[] = {{"NONE", ToneMapping::kNone},
                                                   {"LINEAR", ToneMapping::kLinear},
                                                   {"AL", ToneMapping::kDrago},
                                                   {"DRR", ToneMapping::kReinhard},
                                                   {"GD", ToneMapping::kFattal}};
constexpr std::span<const Keyword> KeywordsOf(ToneMapping) { return kToneMappingKeywords; }

// ---- Encoders ----------------------------------------------------------------------------------------------------

// Each compression option names its codes with its format's own keywords, but accepts the keywords of every format,
// each standing for its number in its own list ("LZW" stores 6 even for BMP).
enum class RleCompression : std::int32_t { kNone, kRle };  // BMP and TGA
enum class ExrCompression : std::int32_t { kNone, kZip, kPiz, kPxr24, kB44 };
enum class PngCompression : std::int32_t { kNone, kZlib1, kZlib6, kZlib9 };
enum class TiffCompression : std::int32_t {
  kNone,
  kCcittFax3,
  kCcittFax4,
  kPackBits,
  kDeflate,
  kAdobeDeflate,
  kLzw,
  kJpeg,
  kLogLuv
};
inline constexpr Keyword kRleCompressionKeywords[] = {{"NONE", RleCompression::kNone}, {"RLE", RleCompression::kRle}};
inline constexpr Keyword kExrCompressionKeywords[] = {{"NONE", ExrCompression::kNone},
                                                      {"ZIP", ExrCompression::kZip},
                                                      {"PIZ", ExrCompression::kPiz},
                                                      {"PXR24", ExrCompression::kPxr24},
                                                      {"B44", ExrCompression::kB44}};
inline constexpr Keyword kPngCompressionKeywords[] = {{"NONE", PngCompression::kNone},
                                                      {"ZLIB1", PngCompression::kZlib1},
                                                      {"ZLIB6", PngCompression::kZlib6},
                                                      {"ZLIB9", PngCompression::kZlib9}};
inline constexpr Keyword kTiffCompressionKeywords[] = {{"NONE", TiffCompression::kNone},
                                                       {"CCITTFAX3", TiffCompression::kCcittFax3},
                                                       {"CCITTFAX4", TiffCompression::kCcittFax4},
                                                       {"PACKBITS", TiffCompression::kPackBits},
                                                       {"DEFLATE", TiffCompression::kDeflate},
                                                       {"ADOBEDEFLATE", TiffCompression::kAdobeDeflate},
                                                       {"LZW", TiffCompression::kLzw},
                                                       {"JPEG", TiffCompression::kJpeg},
                                                       {"LOGLUV", TiffCompression::kLogLuv}};
inline constexpr Keyword kCompressionKeywords[] = {{"NONE", RleCompression::kNone},
                                                   {"RLE", RleCompression::kRle},
                                                   {"ZIP", ExrCompression::kZip},
                                                   {"PIZ", ExrCompression::kPiz},
                                                   {"PXR24", ExrCompression::kPxr24},
                                                   {"B44", ExrCompression::kB44},
                                                   {"ZLIB1", PngCompression::kZlib1},
                                                   {"ZLIB6", PngCompression::kZlib6},
                                                   {"ZLIB9", PngCompression::kZlib9},
                                                   {"CCITTFAX3", TiffCompression::kCcittFax3},
                                                   {"CCITTFAX4", TiffCompression::kCcittFax4},
                                                   {"PACKBITS", TiffCompression::kPackBits},
                                                   {"DEFLATE", TiffCompression::kDeflate},
                                                   {"ADOBEDEFLATE", TiffCompression::kAdobeDeflate},
                                                   {"LZW", TiffCompression::kLzw},
                                                   {"JPEG", TiffCompression::kJpeg},
                                                   {"LOGLUV", TiffCompression::kLogLuv}};
constexpr std::span<const Keyword> KeywordsOf(RleCompression) { return kRleCompressionKeywords; }
constexpr std::span<const Keyword> KeywordsOf(ExrCompression) { return kExrCompressionKeywords; }
constexpr std::span<const Keyword> KeywordsOf(PngCompression) { return kPngCompressionKeywords; }
constexpr std::span<const Keyword> KeywordsOf(TiffCompression) { return kTiffCompressionKeywords; }
constexpr std::span<const Keyword> AcceptedKeywordsOf(RleCompression) { return kCompressionKeywords; }
constexpr std::span<const Keyword> AcceptedKeywordsOf(ExrCompression) { return kCompressionKeywords; }
constexpr std::span<const Keyword> AcceptedKeywordsOf(PngCompression) { return kCompressionKeywords; }
constexpr std::span<const Keyword> AcceptedKeywordsOf(TiffCompression) { return kCompressionKeywords; }

// 8-bit BMP palettes: all 256 entries, or only up to the highest one used.
enum class ColorTable : std::int32_t { kAuto, kExact };
inline constexpr Keyword kColorTableKeywords[] = {{"AUTO", ColorTable::kAuto}, {"EXACT", ColorTable::kExact}};
constexpr std::span<const Keyword> KeywordsOf(ColorTable) { return kColorTableKeywords; }

// JPEG chroma subsampling: 4:4:4, 4:2:2, 4:2:0, 4:1:1.
enum class ChromaSubsampling : std::int32_t { kNone, kLow, kMedium, kHigh };
inline constexpr Keyword kChromaKeywords[] = {{"NONE", ChromaSubsampling::kNone},
                                              {"LOW", ChromaSubsampling::kLow},
                                              {"MEDIUM", ChromaSubsampling::kMedium},
                                              {"HIGH", ChromaSubsampling::kHigh}};
constexpr std::span<const Keyword> KeywordsOf(ChromaSubsampling) { return kChromaKeywords; }

// JPEG encoding: SIMPLE is baseline.
enum class JpegSaveAs : std::int32_t { kStandard, kSimple, kOptimized, kProgressive };
inline constexpr Keyword kSaveAsKeywords[] = {{"STANDARD", JpegSaveAs::kStandard},
                                              {"SIMPLE", JpegSaveAs::kSimple},
                                              {"OPTIMIZED", JpegSaveAs::kOptimized},
                                              {"PROGRESSIVE", JpegSaveAs::kProgressive}};
constexpr std::span<const Keyword> KeywordsOf(JpegSaveAs) { return kSaveAsKeywords; }

// ---- Edits -------------------------------------------------------------------------------------------------------

enum class RotationType : std::int8_t {
  kSimple,    // the canvas grows; added corners get the back colour
  kAdvanced,  // about the centre, size kept, uncovered parts mirrored
};
inline constexpr Keyword kRotationTypeKeywords[] = {{"SIMPLE", RotationType::kSimple},
                                                    {"ADVANCED", RotationType::kAdvanced}};
constexpr std::span<const Keyword> KeywordsOf(RotationType) { return kRotationTypeKeywords; }

enum class SizeUnit : std::int8_t { kPixels, kPercent };
inline constexpr Keyword kSizeUnitKeywords[] = {{"PIXELS", SizeUnit::kPixels}, {"PERCENT", SizeUnit::kPercent}};
constexpr std::span<const Keyword> KeywordsOf(SizeUnit) { return kSizeUnitKeywords; }

enum class ResizeType : std::int8_t {
  kAllImages,
  kLargeImages,  // an image smaller than the target both ways stays
};
inline constexpr Keyword kResizeTypeKeywords[] = {{"ALLIMAGES", ResizeType::kAllImages},
                                                  {"LARGEIMAGES", ResizeType::kLargeImages}};
constexpr std::span<const Keyword> KeywordsOf(ResizeType) { return kResizeTypeKeywords; }

enum class ResizeAlgorithm : std::int8_t { kBox, kBilinear, kBSpline, kBicubic, kCatmullRom, kLanczos };
inline constexpr Keyword kResizeAlgorithmKeywords[] = {{"BOX", ResizeAlgorithm::kBox},
                                                       {"BILINEAR", ResizeAlgorithm::kBilinear},
                                                       {"BSPLINE", ResizeAlgorithm::kBSpline},
                                                       {"BICUBIC", ResizeAlgorithm::kBicubic},
                                                       {"CATMULLROM", ResizeAlgorithm::kCatmullRom},
                                                       {"LANCZOS", ResizeAlgorithm::kLanczos}};
constexpr std::span<const Keyword> KeywordsOf(ResizeAlgorithm) { return kResizeAlgorithmKeywords; }

enum class DitherAlgorithm : std::int8_t {
  kFloydSteinberg,
  kBayer4,
  kBayer8,
  kBayer16,
  kCluster6,
  kCluster8,
  kCluster16
};
inline constexpr Keyword kDitherKeywords[] = {
    {"FS", DitherAlgorithm::kFloydSteinberg},  {"BAYER4", DitherAlgorithm::kBayer4},
    {"BAYER8", DitherAlgorithm::kBayer8},      {"BAYER16", DitherAlgorithm::kBayer16},
    {"CLUSTER6", DitherAlgorithm::kCluster6},  {"CLUSTER8", DitherAlgorithm::kCluster8},
    {"CLUSTER16", DitherAlgorithm::kCluster16}};
constexpr std::span<const Keyword> KeywordsOf(DitherAlgorithm) { return kDitherKeywords; }

// ---- Frame and watermark -----------------------------------------------------------------------------------------

enum class FrameKind : std::int8_t { kNone, kSolid };
inline constexpr Keyword kFrameKindKeywords[] = {{"NONE", FrameKind::kNone}, {"SOLID", FrameKind::kSolid}};
constexpr std::span<const Keyword> KeywordsOf(FrameKind) { return kFrameKindKeywords; }

enum class WatermarkKind : std::int8_t { kNone, kText, kImage };
inline constexpr Keyword kWatermarkKindKeywords[] = {
    {"NONE", WatermarkKind::kNone}, {"TEXT", WatermarkKind::kText}, {"IMAGE", WatermarkKind::kImage}};
constexpr std::span<const Keyword> KeywordsOf(WatermarkKind) { return kWatermarkKindKeywords; }

// Bold and italic are bits of the code.
enum class FontStyle : std::int8_t { kRegular = 0, kBold = 1, kItalic = 2, kBoldItalic = 3 };
inline constexpr Keyword kFontStyleKeywords[] = {{"REGULAR", FontStyle::kRegular},
                                                 {"BOLD", FontStyle::kBold},
                                                 {"ITALIC", FontStyle::kItalic},
                                                 {"BOLDITALIC", FontStyle::kBoldItalic}};
constexpr std::span<const Keyword> KeywordsOf(FontStyle) { return kFontStyleKeywords; }
constexpr bool HasStyle(FontStyle style, FontStyle bit) { return (CodeOf(style) & CodeOf(bit)) != 0; }

// The strike-through keyword really ends in a second T; the spelling without it is unknown (code 0).
enum class FontEffect : std::int8_t { kNone, kUnderline, kStrikeout };
inline constexpr Keyword kFontEffectKeywords[] = {
    {"NONE", FontEffect::kNone}, {"UNDERLINE", FontEffect::kUnderline}, {"STRIKETHROUGHT", FontEffect::kStrikeout}};
constexpr std::span<const Keyword> KeywordsOf(FontEffect) { return kFontEffectKeywords; }

enum class TextAlignment : std::int8_t { kLeft, kCenter, kRight };
inline constexpr Keyword kTextAlignmentKeywords[] = {
    {"LEFT", TextAlignment::kLeft}, {"CENTER", TextAlignment::kCenter}, {"RIGHT", TextAlignment::kRight}};
constexpr std::span<const Keyword> KeywordsOf(TextAlignment) { return kTextAlignmentKeywords; }

// What a watermark is placed in: the whole picture, or the part inside a solid frame.
enum class Boundary : std::int8_t { kImage, kFrame };
inline constexpr Keyword kBoundaryKeywords[] = {{"IMAGE", Boundary::kImage}, {"FRAME", Boundary::kFrame}};
constexpr std::span<const Keyword> KeywordsOf(Boundary) { return kBoundaryKeywords; }

enum class Position : std::int8_t {
  kTopLeft,
  kTopCenter,
  kTopRight,
  kMiddleLeft,
  kMiddleCenter,
  kMiddleRight,
  kBottomLeft,
  kBottomCenter,
  kBottomRight
};
inline constexpr Keyword kPositionKeywords[] = {
    {"TOPLEFT", Position::kTopLeft},           {"TOPCENTER", Position::kTopCenter},
    {"TOPRIGHT", Position::kTopRight},         {"MIDDLELEFT", Position::kMiddleLeft},
    {"MIDDLECENTER", Position::kMiddleCenter}, {"MIDDLERIGHT", Position::kMiddleRight},
    {"BOTTOMLEFT", Position::kBottomLeft},     {"BOTTOMCENTER", Position::kBottomCenter},
    {"BOTTOMRIGHT", Position::kBottomRight}};
constexpr std::span<const Keyword> KeywordsOf(Position) { return kPositionKeywords; }

enum class SizeMode : std::int8_t { kFixed };
inline constexpr Keyword kSizeModeKeywords[] = {{"FIXED", SizeMode::kFixed}};
constexpr std::span<const Keyword> KeywordsOf(SizeMode) { return kSizeModeKeywords; }

// ---- Output names and file times ---------------------------------------------------------------------------------

enum class FileTimestamp : std::int8_t {
  kCurrent,   // keep the time of writing
  kOriginal,  // the input file's modification time
  kCustom,    // the custom timestamp
};
inline constexpr Keyword kTimestampKeywords[] = {
    {"CURRENT", FileTimestamp::kCurrent}, {"ORIGINAL", FileTimestamp::kOriginal}, {"CUSTOM", FileTimestamp::kCustom}};
constexpr std::span<const Keyword> KeywordsOf(FileTimestamp) { return kTimestampKeywords; }

// Which of the input's metadata the outputs keep. An unknown keyword is refused (the row's check), never code 0:
// a typo must not publish a location.
enum class MetadataKeeping : std::int32_t {
  kKeep,   // the descriptive tags: dates, camera, lens, exposure, location, rights, keywords, ratings
  kNoGps,  // all of those but the location
  kNone,   // nothing
};
inline constexpr Keyword kMetadataKeywords[] = {
    {"KEEP", MetadataKeeping::kKeep}, {"NOGPS", MetadataKeeping::kNoGps}, {"NONE", MetadataKeeping::kNone}};
constexpr std::span<const Keyword> KeywordsOf(MetadataKeeping) { return kMetadataKeywords; }

template <class Code>
constexpr std::span<const Keyword> AcceptedKeywordsOf(Code code) {
  return KeywordsOf(code);
}

// A type with a keyword list of its own.
template <class Code>
concept KeywordCode = std::is_enum_v<Code> && requires(Code code) {
  KeywordsOf(code);
};

namespace setting_codes_detail {
// Each format's own compression keyword stands in the shared list with the same code.
constexpr bool IsInSharedCompressionList(std::span<const Keyword> own) {
  for (const Keyword& entry : own) {
    bool found = false;
    for (const Keyword& shared : kCompressionKeywords)
      found = found || (shared.keyword == entry.keyword && shared.code == entry.code);
    if (!found) return false;
  }
  return true;
}
static_assert(IsInSharedCompressionList(kRleCompressionKeywords) &&
                  IsInSharedCompressionList(kExrCompressionKeywords) &&
                  IsInSharedCompressionList(kPngCompressionKeywords) &&
                  IsInSharedCompressionList(kTiffCompressionKeywords),
              "a format's compression keyword disagrees with the shared list");
static_assert(IsWellFormedKeywordList(kCompressionKeywords));
}  // namespace setting_codes_detail

}  // namespace lumivane
