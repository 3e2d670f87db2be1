// The output format table and the queries on it.
#include <FreeImage.h>
#include <IL/il.h>

#include <algorithm>
#include <array>

#include "formats/bit_depth_list.h"
#include "formats/ascii_text.h"
#include "formats/registry.h"

namespace lumivane {
namespace {

// One row per output format, sorted by identifier: this order is the output format list.
constexpr std::array<OutputFormat, 23> kOutputFormats{{
    {"bmp", FIF_BMP, "Windows or OS/2 Bitmap", "1,4,8,16,24,32"},
    {"dds", IL_DDS, "DirectDraw Surface", "32"},
    {"exr", FIF_EXR, "ILM OpenEXR", "96"},
    {"gif", FIF_GIF, "Graphics Interchange Format", "8"},
    {"hdr", FIF_HDR, "High Dynamic Range Image", "96"},
    {"ico", FIF_ICO, "Windows Icon", "1,4,8,16,24,32"},
    {"j2k", FIF_J2K, "JPEG-2000 Codestream", "8,24,32,48"},
    {"jng", FIF_JNG, "JPEG Network Graphics", "24,32"},
    {"jp2", FIF_JP2, "JPEG-2000 File Format", "8,24,32,48"},
    {"jpg", FIF_JPEG, "JPEG File Format", "8,24"},
    {"jxr", FIF_JXR, "JPEG XR Image Format", "1,8,16,24,32,48,96"},
    {"pbm", FIF_PBM, "Portable Bitmap", "1"},
    {"pcx", IL_PCX, "ZSoft Paintbrush", "24"},
    {"pfm", FIF_PFM, "Portable Floatmap", "96"},
    {"pgm", FIF_PGM, "Portable Greymap", "8"},
    {"png", FIF_PNG, "Portable Network Graphics", "1,4,8,24,32,48"},
    {"ppm", FIF_PPM, "Portable Pixelmap", "24,48"},
    {"psd", IL_PSD, "Adobe Photoshop", "32"},
    {"tga", FIF_TARGA, "Truevision Targa", "8,16,24,32"},
    {"tiff", FIF_TIFF, "Tagged Image File Format", "1,4,8,24,32,48,96"},
    {"wbmp", FIF_WBMP, "Wireless Bitmap", "1"},
    {"webp", FIF_WEBP, "Google WebP Image Format", "24,32"},
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

static_assert(kOutputFormats.size() == 23);
static_assert(IdentifiersStrictlySorted(), "output formats must be alphabetical without duplicates");
static_assert(kOutputFormats.front().identifier == "bmp", "the first output format is the default one");
static_assert(RowsAreWellFormed(), "identifiers lower case, depth lists ascending decimal numbers");

const OutputFormat* FindRow(std::string_view identifier) {
  const auto it = std::lower_bound(kOutputFormats.begin(), kOutputFormats.end(), identifier,
                                   [](const OutputFormat& row, std::string_view key) { return row.identifier < key; });
  if (it == kOutputFormats.end() || it->identifier != identifier) return nullptr;
  return &*it;
}

// An identifier that is not in the table has an empty list.
BitDepthList AllowedDepthsOf(std::string_view identifier) {
  const OutputFormat* row = FindRow(identifier);
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

std::optional<OutputFormat> FindOutputFormat(std::string_view identifier) {
  const OutputFormat* row = FindRow(identifier);
  if (row == nullptr) return std::nullopt;
  return *row;
}

bool IsOutputFormat(std::string_view identifier) { return FindRow(identifier) != nullptr; }

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
