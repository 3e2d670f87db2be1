#pragma once
// Each output format's bit-depth setting: its name, its line in the debug listing and the error line of a depth the
// format does not allow. One row per output format, in the order of the output format list.
#include <array>
#include <cstdint>
#include <string_view>

#include "formats/ascii_text.h"
#include "settings/settings.h"
#include "settings/settings_table.h"

namespace lumivane {

struct BitDepthSetting {
  std::string_view format;   // output format identifier
  std::string_view label;    // debug listing label, followed by the value
  std::string_view setting;  // "Group/Key" of the bit-depth setting; 0 there means automatic
  std::string_view error;    // printed when the value is not one of the format's depths
};

inline constexpr std::array<BitDepthSetting, 23> kBitDepthSettings{{
    {"bmp", "BMP BPP: ", "Output/BMP BPP", "Error: Invalid bmp-bpp value"},
    {"dds", "DDS BPP: ", "Output/DDS BPP", "Error: Invalid dds-bpp value"},
    {"exr", "EXR BPP: ", "Output/EXR BPP", "Error: Invalid exr-bpp value"},
    {"gif", "GIF BPP: ", "Output/GIF BPP", "Error: Invalid gif-bpp value"},
    {"hdr", "HDR BPP: ", "Output/HDR BPP", "Error: Invalid hdr-bpp value"},
    {"ico", "ICO BPP: ", "Output/ICO BPP", "Error: Invalid ico-bpp value"},
    {"j2k", "J2K BPP: ", "Output/J2K BPP", "Error: Invalid j2k-bpp value"},
    {"jng", "JNG BPP: ", "Output/JNG BPP", "Error: Invalid jng-bpp value"},
    {"jp2", "JP2 BPP: ", "Output/JP2 BPP", "Error: Invalid jp2-bpp value"},
    {"jpg", "JPG BPP: ", "Output/JPG BPP", "Error: Invalid jpg-bpp value"},
    {"jxr", "JXR BPP: ", "Output/JXR BPP", "Error: Invalid jxr-bpp value"},
    {"pbm", "PBM BPP: ", "Output/PBM BPP", "Error: Invalid pbm-bpp value"},
    {"pcx", "PCX BPP: ", "Output/PCX BPP", "Error: Invalid pcx-bpp value"},
    {"pfm", "PFM BPP: ", "Output/PFM BPP", "Error: Invalid pfm-bpp value"},
    {"pgm", "PGM BPP: ", "Output/PGM BPP", "Error: Invalid pgm-bpp value"},
    {"png", "PNG BPP: ", "Output/PNG BPP", "Error: Invalid png-bpp value"},
    {"ppm", "PPM BPP: ", "Output/PPM BPP", "Error: Invalid ppm-bpp value"},
    {"psd", "PSD BPP: ", "Output/PSD BPP", "Error: Invalid psd-bpp value"},
    {"tga", "TGA BPP: ", "Output/TGA BPP", "Error: Invalid tga-bpp value"},
    {"tiff", "TIFF BPP: ", "Output/TIFF BPP", "Error: Invalid tiff-bpp value"},
    {"wbmp", "WBMP BPP: ", "Output/WBMP BPP", "Error: Invalid wbmp-bpp value"},
    {"webp", "WEBP BPP: ", "Output/WEBP BPP", "Error: Invalid webp-bpp value"},
    {"xpm", "XPM BPP: ", "Output/XPM BPP", "Error: Invalid xpm-bpp value"},
}};

// The row of an output format identifier (exact, lower case); nullptr for any other text.
const BitDepthSetting* FindBitDepthSetting(std::string_view format);

// The value of the format's bit-depth setting; 0 (automatic) for an unknown identifier.
std::int32_t BitDepthSettingValue(const Settings& settings, std::string_view format);

namespace bit_depth_settings_detail {

constexpr char AsciiUpperChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// text == prefix + format (upper-cased when asked) + suffix.
constexpr bool IsFramed(std::string_view text, std::string_view prefix, std::string_view format, bool upper,
                        std::string_view suffix) {
  if (text.size() != prefix.size() + format.size() + suffix.size()) return false;
  if (text.substr(0, prefix.size()) != prefix || text.substr(text.size() - suffix.size()) != suffix) return false;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (text[prefix.size() + i] != (upper ? AsciiUpperChar(format[i]) : format[i])) return false;
  }
  return true;
}

constexpr bool RowsAreConsistent() {
  for (std::size_t i = 0; i < kBitDepthSettings.size(); ++i) {
    const BitDepthSetting& row = kBitDepthSettings[i];
    if (!IsLowerCaseAlphanumeric(row.format) || !IsSettingName(row.setting)) return false;
    if (i > 0 && !(kBitDepthSettings[i - 1].format < row.format)) return false;
    if (!IsFramed(row.label, "", row.format, true, " BPP: ")) return false;
    if (!IsFramed(row.setting, "Output/", row.format, true, " BPP")) return false;
    if (!IsFramed(row.error, "Error: Invalid ", row.format, false, "-bpp value")) return false;
  }
  return true;
}
static_assert(RowsAreConsistent(), "rows sorted by identifier; label, setting and error name their own format");

}  // namespace bit_depth_settings_detail

}  // namespace lumivane
