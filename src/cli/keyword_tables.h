#pragma once
// Value keywords of the enumeration options: plain {keyword, code} lists, one per table number.
// Forward direction (text -> code) for option values, reverse direction (code -> lower-case text) for the
// debug listing.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace lumivane {

struct Keyword {
  std::string_view keyword;  // upper-case ASCII letters and digits
  std::int32_t code;
};

// Table numbers are part of the interface: the option table and the debug listing name tables by them.
enum class KeywordTable : std::uint8_t {
  kDdsLoadAs = 0,
  kRawLoadAs = 1,
  kFrameLoading = 2,
  kToneMapping = 3,
  kCompression = 4,  // shared by the five compression options; reverse lookups use the per-format subsets
  kColorTable = 5,
  kColorMode = 6,
  kChroma = 7,
  kSaveAs = 8,
  kRotationType = 9,
  kSizeUnit = 10,
  kResizeType = 11,
  kResizeAlgorithm = 12,
  kDither = 13,
  kFrameKind = 14,      // reverse only: Frame/Do Frame
  kWatermarkKind = 15,  // reverse only: Watermark/Do Watermark
  kFontStyle = 16,
  kFontEffect = 17,
  kTextAlignment = 18,
  kBoundary = 19,
  kPosition = 20,
  kSizeMode = 21,
  kTimestamp = 22,
};
inline constexpr int kKeywordTableCount = 23;

inline constexpr Keyword kDdsLoadAsKeywords[] = {{"AUTO", 0}, {"BGRA", 1}, {"RGBA", 2}};
inline constexpr Keyword kRawLoadAsKeywords[] = {{"AUTO", 0}, {"8", 1}, {"16", 2}, {"24", 3}, {"48HS", 4}, {"48", 5}};
inline constexpr Keyword kFrameLoadingKeywords[] = {
    {"ALL", 0}, {"FIRST", 1}, {"MIDDLE", 2}, {"LAST", 3}, {"RANDOM", 4}};
inline constexpr Keyword kToneMappingKeywords[] = {{"NONE", 0}, {"LINEAR", 1}, {"AL", 2}, {"DRR", 3}, {"GD", 4}};
// Every keyword is accepted for every compression option, so "LZW" stores 6 even for BMP.
inline constexpr Keyword kCompressionKeywords[] = {
    {"NONE", 0},    {"RLE", 1},          {"ZIP", 1},   {"PIZ", 2},       {"PXR24", 3},     {"B44", 4},
    {"ZLIB1", 1},   {"ZLIB6", 2},        {"ZLIB9", 3}, {"CCITTFAX3", 1}, {"CCITTFAX4", 2}, {"PACKBITS", 3},
    {"DEFLATE", 4}, {"ADOBEDEFLATE", 5}, {"LZW", 6},   {"JPEG", 7},      {"LOGLUV", 8}};
inline constexpr Keyword kColorTableKeywords[] = {{"AUTO", 0}, {"EXACT", 1}};
inline constexpr Keyword kColorModeKeywords[] = {{"RGB", 0}, {"CMYK", 1}, {"LAB", 2}};
inline constexpr Keyword kChromaKeywords[] = {{"NONE", 0}, {"LOW", 1}, {"MEDIUM", 2}, {"HIGH", 3}};
inline constexpr Keyword kSaveAsKeywords[] = {{"STANDARD", 0}, {"SIMPLE", 1}, {"OPTIMIZED", 2}, {"PROGRESSIVE", 3}};
inline constexpr Keyword kRotationTypeKeywords[] = {{"SIMPLE", 0}, {"ADVANCED", 1}};
inline constexpr Keyword kSizeUnitKeywords[] = {{"PIXELS", 0}, {"PERCENT", 1}};
inline constexpr Keyword kResizeTypeKeywords[] = {{"ALLIMAGES", 0}, {"LARGEIMAGES", 1}};
inline constexpr Keyword kResizeAlgorithmKeywords[] = {{"BOX", 0},     {"BILINEAR", 1},   {"BSPLINE", 2},
                                                       {"BICUBIC", 3}, {"CATMULLROM", 4}, {"LANCZOS", 5}};
inline constexpr Keyword kDitherKeywords[] = {{"FS", 0},       {"BAYER4", 1},   {"BAYER8", 2},   {"BAYER16", 3},
                                              {"CLUSTER6", 4}, {"CLUSTER8", 5}, {"CLUSTER16", 6}};
inline constexpr Keyword kFrameKindKeywords[] = {{"NONE", 0}, {"SOLID", 1}};
inline constexpr Keyword kWatermarkKindKeywords[] = {{"NONE", 0}, {"TEXT", 1}, {"IMAGE", 2}};
inline constexpr Keyword kFontStyleKeywords[] = {{"REGULAR", 0}, {"BOLD", 1}, {"ITALIC", 2}, {"BOLDITALIC", 3}};
// The strike-through keyword really ends in a second T; the spelling without it is unknown (code 0).
inline constexpr Keyword kFontEffectKeywords[] = {{"NONE", 0}, {"UNDERLINE", 1}, {"STRIKETHROUGHT", 2}};
inline constexpr Keyword kTextAlignmentKeywords[] = {{"LEFT", 0}, {"CENTER", 1}, {"RIGHT", 2}};
inline constexpr Keyword kBoundaryKeywords[] = {{"IMAGE", 0}, {"FRAME", 1}};
inline constexpr Keyword kPositionKeywords[] = {{"TOPLEFT", 0},    {"TOPCENTER", 1},    {"TOPRIGHT", 2},
                                                {"MIDDLELEFT", 3}, {"MIDDLECENTER", 4}, {"MIDDLERIGHT", 5},
                                                {"BOTTOMLEFT", 6}, {"BOTTOMCENTER", 7}, {"BOTTOMRIGHT", 8}};
inline constexpr Keyword kSizeModeKeywords[] = {{"FIXED", 0}};
inline constexpr Keyword kTimestampKeywords[] = {{"CURRENT", 0}, {"ORIGINAL", 1}, {"CUSTOM", 2}};

// Indexed by table number.
inline constexpr std::array<std::span<const Keyword>, kKeywordTableCount> kKeywordTables = {
    kDdsLoadAsKeywords,       kRawLoadAsKeywords,    kFrameLoadingKeywords,  kToneMappingKeywords,
    kCompressionKeywords,     kColorTableKeywords,   kColorModeKeywords,     kChromaKeywords,
    kSaveAsKeywords,          kRotationTypeKeywords, kSizeUnitKeywords,      kResizeTypeKeywords,
    kResizeAlgorithmKeywords, kDitherKeywords,       kFrameKindKeywords,     kWatermarkKindKeywords,
    kFontStyleKeywords,       kFontEffectKeywords,   kTextAlignmentKeywords, kBoundaryKeywords,
    kPositionKeywords,        kSizeModeKeywords,     kTimestampKeywords};

constexpr std::span<const Keyword> KeywordsOf(KeywordTable table) {
  return kKeywordTables[static_cast<std::size_t>(table)];
}

// Each output format's own compression keywords, indexed by code: the names the debug listing shows.
struct CompressionNames {
  std::string_view formatIdentifier;
  std::span<const std::string_view> keywordsByCode;
};
inline constexpr std::string_view kRleCompressionNames[] = {"NONE", "RLE"};
inline constexpr std::string_view kExrCompressionNames[] = {"NONE", "ZIP", "PIZ", "PXR24", "B44"};
inline constexpr std::string_view kPngCompressionNames[] = {"NONE", "ZLIB1", "ZLIB6", "ZLIB9"};
inline constexpr std::string_view kTiffCompressionNames[] = {
    "NONE", "CCITTFAX3", "CCITTFAX4", "PACKBITS", "DEFLATE", "ADOBEDEFLATE", "LZW", "JPEG", "LOGLUV"};
inline constexpr CompressionNames kCompressionNamesByFormat[] = {
    {"bmp", kRleCompressionNames}, {"exr", kExrCompressionNames},   {"png", kPngCompressionNames},
    {"tga", kRleCompressionNames}, {"tiff", kTiffCompressionNames},
};

// The code of the keyword equal to `text` once blanks are trimmed and letters upper-cased; 0 when none matches.
std::int32_t KeywordValue(KeywordTable table, std::string_view text);
// The first keyword of the table, in list order, whose code is `code`, in lower case; "" when none has it.
std::string KeywordName(KeywordTable table, std::int32_t code);
// The lower-case name of a compression code within the output format's own keywords ("tiff", 1 -> "ccittfax3");
// "" for a format without a compression setting or a code outside its list.
std::string CompressionKeywordName(std::string_view formatIdentifier, std::int32_t code);

}  // namespace lumivane
