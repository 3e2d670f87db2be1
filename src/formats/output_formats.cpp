// The output format table, each format's encoder flags, and the queries on them.
#include <FreeImage.h>
#include <IL/il.h>

#include <algorithm>
#include <array>
#include <span>

#include "formats/bit_depth_list.h"
#include "formats/registry.h"
#include "formats/tiff_rules.h"
#include "platform/ascii_text.h"
#include "settings/settings_table.h"

namespace lumivane {
namespace {

// The encoder flag of each code of a setting, by code; a code past the end contributes nothing.
template <class Code, std::size_t N>
constexpr std::int32_t FlagOf(const std::int32_t (&flagsByCode)[N], Code code) {
  const std::int32_t index = CodeOf(code);
  return index >= 0 && static_cast<std::size_t>(index) < N ? flagsByCode[index] : 0;
}

constexpr std::int32_t kBmpCompressionFlags[] = {0, BMP_SAVE_RLE};
constexpr std::int32_t kExrCompressionFlags[] = {EXR_NONE, EXR_ZIP, EXR_PIZ, EXR_PXR24, EXR_B44};
constexpr std::int32_t kJpgChromaFlags[] = {JPEG_SUBSAMPLING_444, JPEG_SUBSAMPLING_422, JPEG_SUBSAMPLING_420,
                                            JPEG_SUBSAMPLING_411};
constexpr std::int32_t kJpgSaveAsFlags[] = {0, JPEG_BASELINE, JPEG_OPTIMIZE, JPEG_PROGRESSIVE};
constexpr std::int32_t kPngCompressionFlags[] = {PNG_Z_NO_COMPRESSION, PNG_Z_BEST_SPEED, PNG_Z_DEFAULT_COMPRESSION,
                                                 PNG_Z_BEST_COMPRESSION};
constexpr std::int32_t kTgaCompressionFlags[] = {0, TARGA_SAVE_RLE};
constexpr std::int32_t kWebpLosslessQuality = 100;

std::int32_t BmpFlags(const Settings& s) { return FlagOf(kBmpCompressionFlags, s.output.bmpCompression); }
std::int32_t ExrFlags(const Settings& s) { return FlagOf(kExrCompressionFlags, s.output.exrCompression); }
std::int32_t JpgFlags(const Settings& s) {
  return s.output.jpgQuality | FlagOf(kJpgChromaFlags, s.output.jpgChroma) |
         FlagOf(kJpgSaveAsFlags, s.output.jpgSaveAs);
}
std::int32_t JxrFlags(const Settings&) { return JXR_LOSSLESS; }
std::int32_t PngFlags(const Settings& s) {
  return FlagOf(kPngCompressionFlags, s.output.pngCompression) | (s.output.pngInterlaced != 0 ? PNG_INTERLACED : 0);
}
std::int32_t TgaFlags(const Settings& s) { return FlagOf(kTgaCompressionFlags, s.output.tgaCompression); }
std::int32_t TiffFlags(const Settings& s) { return TiffSaveFlags(s.output.tiffCompression, s.output.tiffColorMode); }
std::int32_t WebpFlags(const Settings& s) {
  return s.output.webpQuality == kWebpLosslessQuality ? WEBP_LOSSLESS : s.output.webpQuality;
}

using enum EncoderRoute;
using enum SixteenBitLayout;
using enum EightBitKind;

// One row per output format, sorted by identifier: this order is the output format list.
constexpr std::array<OutputFormat, 23> kOutputFormats{{
    {"bmp", FIF_BMP, "Windows or OS/2 Bitmap", "1,4,8,16,24,32", kFreeImageBitmap, k565, kPalette, 0, BmpFlags},
    {"dds", IL_DDS, "DirectDraw Surface", "32", kDevilWithMipmaps},
    {"exr", FIF_EXR, "ILM OpenEXR", "96", kFreeImage, k565, kPalette, 0, ExrFlags},
    {"gif", FIF_GIF, "Graphics Interchange Format", "8"},
    {"hdr", FIF_HDR, "High Dynamic Range Image", "96"},
    {"ico", FIF_ICO, "Windows Icon", "1,4,8,16,24,32", kFreeImageIcon, k555, kPalette, 128},
    {"j2k", FIF_J2K, "JPEG-2000 Codestream", "8,24,32,48", kFreeImage, k565, kGrey},
    {"jng", FIF_JNG, "JPEG Network Graphics", "24,32"},
    {"jp2", FIF_JP2, "JPEG-2000 File Format", "8,24,32,48", kFreeImage, k565, kGrey, 0, nullptr,
     MetadataContainer::kJp2},
    {"jpg", FIF_JPEG, "JPEG File Format", "8,24", kFreeImage, k565, kGrey, 0, JpgFlags, MetadataContainer::kJpeg},
    {"jxr", FIF_JXR, "JPEG XR Image Format", "1,8,16,24,32,48,96", kJpegXr, k565, kGrey, 0, JxrFlags},
    {"pbm", FIF_PBM, "Portable Bitmap", "1", kFreeImageBlackIsOne},
    {"pcx", IL_PCX, "ZSoft Paintbrush", "24", kDevil},
    {"pfm", FIF_PFM, "Portable Floatmap", "96", kFreeImageFlipped},
    {"pgm", FIF_PGM, "Portable Greymap", "8", kFreeImageGreyLevels},
    {"png", FIF_PNG, "Portable Network Graphics", "1,4,8,24,32,48", kFreeImage, k565, kPalette, 0, PngFlags,
     MetadataContainer::kPng},
    {"ppm", FIF_PPM, "Portable Pixelmap", "24,48"},
    {"psd", IL_PSD, "Adobe Photoshop", "32", kDevil, k565, kPalette, 0, nullptr, MetadataContainer::kPsd},
    {"tga", FIF_TARGA, "Truevision Targa", "8,16,24,32", kFreeImage, k555, kPalette, 0, TgaFlags},
    {"tiff", FIF_TIFF, "Tagged Image File Format", "1,4,8,24,32,48,96", kFreeImageTiff, k565, kPalette, 0, TiffFlags,
     MetadataContainer::kTiff},
    {"wbmp", FIF_WBMP, "Wireless Bitmap", "1"},
    {"webp", FIF_WEBP, "Google WebP Image Format", "24,32", kFreeImage, k565, kPalette, 0, WebpFlags,
     MetadataContainer::kWebp},
    {"xpm", FIF_XPM, "X11 Pixmap Format", "24"},
}};

constexpr bool RowsAreWellFormed() {
  for (const OutputFormat& row : kOutputFormats) {
    const BitDepthList depths = ParseBitDepthList(row.allowedBitDepths);
    if (!IsLowerCaseAlphanumeric(row.identifier) || row.description.empty()) return false;
    if (!depths.wellFormed || depths.count == 0 || !depths.IsStrictlyAscending()) return false;
  }
  return true;
}

constexpr bool IdentifiersStrictlySorted() {
  for (std::size_t i = 1; i < kOutputFormats.size(); ++i) {
    if (!(kOutputFormats[i - 1].identifier < kOutputFormats[i].identifier)) return false;
  }
  return true;
}

constexpr bool IsFormat(std::string_view identifier) {
  return std::any_of(kOutputFormats.begin(), kOutputFormats.end(),
                     [identifier](const OutputFormat& row) { return row.identifier == identifier; });
}

// Every setting that names an output format as its owner names one of these, and every format owns exactly one
// bit-depth setting.
constexpr bool SettingOwnersAreFormats() {
  for (const SettingRow& row : kSettingTable) {
    if (row.saving.rule == SaveRule::kWithOutputFormat && !IsFormat(row.saving.format)) return false;
  }
  for (const OutputFormat& format : kOutputFormats) {
    int depthSettings = 0;
    for (const SettingRow& row : kSettingTable) {
      depthSettings += row.saving.format == format.identifier && row.validation.check == SettingCheck::kAllowedBitDepth;
    }
    if (depthSettings != 1) return false;
  }
  return true;
}

static_assert(kOutputFormats.size() == 23);
static_assert(IdentifiersStrictlySorted(), "output formats must be alphabetical without duplicates");
static_assert(kOutputFormats.front().identifier == kSettingTable[SettingIndex("Output/Format")].byDefault.text,
              "the first output format is the default one");
static_assert(RowsAreWellFormed(), "identifiers lower case, depth lists ascending decimal numbers");
static_assert(SettingOwnersAreFormats(), "settings owned by output formats; one bit-depth setting per format");

// An identifier that is not in the table has an empty list.
BitDepthList AllowedDepthsOf(std::string_view identifier) {
  const OutputFormat* row = FindOutputFormat(identifier);
  return row == nullptr ? BitDepthList{} : ParseBitDepthList(row->allowedBitDepths);
}

}  // namespace

std::span<const OutputFormat> OutputFormatTable() { return kOutputFormats; }

const std::vector<std::string>& OutputFormatList() {
  static const std::vector<std::string> list = [] {
    std::vector<std::string> identifiers;
    for (const OutputFormat& row : kOutputFormats) identifiers.emplace_back(row.identifier);
    return identifiers;
  }();
  return list;
}

const OutputFormat* FindOutputFormat(std::string_view identifier) {
  const auto it = std::lower_bound(kOutputFormats.begin(), kOutputFormats.end(), identifier,
                                   [](const OutputFormat& row, std::string_view key) { return row.identifier < key; });
  if (it == kOutputFormats.end() || it->identifier != identifier) return nullptr;
  return &*it;
}

bool IsOutputFormat(std::string_view identifier) { return FindOutputFormat(identifier) != nullptr; }

std::vector<const SettingRow*> OwnedSettings(std::string_view identifier) {
  std::vector<const SettingRow*> owned;
  for (const SettingRow& row : kSettingTable) {
    if (row.saving.rule == SaveRule::kWithOutputFormat && row.saving.format == identifier) owned.push_back(&row);
  }
  return owned;
}

std::int32_t BitDepthSettingValue(const Settings& settings, std::string_view identifier) {
  for (const SettingRow* row : OwnedSettings(identifier)) {
    if (row->validation.check == SettingCheck::kAllowedBitDepth) return row->access.number(settings);
  }
  return 0;
}

std::int32_t SaveFlagsOf(const Settings& settings, std::string_view identifier) {
  const OutputFormat* row = FindOutputFormat(identifier);
  return row == nullptr || row->saveFlags == nullptr ? 0 : row->saveFlags(settings);
}

std::int32_t WrittenBitDepth(const Settings& settings, const OutputFormat& format, std::int32_t bitDepth) {
  if (format.route != EncoderRoute::kFreeImageTiff) return bitDepth;
  return TiffWrittenBitDepth(settings.output.tiffColorMode, bitDepth);
}

bool IsAllowedBitDepth(std::string_view identifier, std::int32_t bpp) {
  if (bpp == 0) return true;  // automatic
  return AllowedDepthsOf(identifier).Contains(bpp);
}

std::int32_t NearestAllowedBitDepth(std::string_view identifier, std::int32_t bpp) {
  const BitDepthList depths = AllowedDepthsOf(identifier);
  if (depths.count == 0) return 0;
  for (std::size_t i = 0; i < depths.count; ++i) {
    if (depths.values[i] >= bpp) return depths.values[i];
  }
  return depths.values[depths.count - 1];
}

}  // namespace lumivane
