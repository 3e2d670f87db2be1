#include "pipeline/save_flags.h"

#include <FreeImage.h>

#include <span>

namespace lumivane {
namespace {

// Flags by keyword code of each encoder setting.
constexpr std::int32_t kBmpCompressionFlags[] = {0, BMP_SAVE_RLE};
constexpr std::int32_t kExrCompressionFlags[] = {EXR_NONE, EXR_ZIP, EXR_PIZ, EXR_PXR24, EXR_B44};
constexpr std::int32_t kJpgChromaFlags[] = {JPEG_SUBSAMPLING_444, JPEG_SUBSAMPLING_422, JPEG_SUBSAMPLING_420,
                                            JPEG_SUBSAMPLING_411};
constexpr std::int32_t kJpgSaveAsFlags[] = {0, JPEG_BASELINE, JPEG_OPTIMIZE, JPEG_PROGRESSIVE};
constexpr std::int32_t kPngCompressionFlags[] = {PNG_Z_NO_COMPRESSION, PNG_Z_BEST_SPEED, PNG_Z_DEFAULT_COMPRESSION,
                                                 PNG_Z_BEST_COMPRESSION};
constexpr std::int32_t kTgaCompressionFlags[] = {0, TARGA_SAVE_RLE};
constexpr std::int32_t kTiffCompressionFlags[] = {TIFF_NONE,     TIFF_CCITTFAX3, TIFF_CCITTFAX4,
                                                  TIFF_PACKBITS, TIFF_DEFLATE,   TIFF_ADOBE_DEFLATE,
                                                  TIFF_LZW,      TIFF_JPEG,      TIFF_LOGLUV};
constexpr std::int32_t kTiffColorModeFlags[] = {0, TIFF_CMYK};  // LAB (2) encodes like RGB
constexpr std::int32_t kWebpLosslessQuality = 100;

constexpr std::int32_t FlagFor(std::span<const std::int32_t> flagsByCode, std::int32_t code) {
  if (code < 0 || static_cast<std::size_t>(code) >= flagsByCode.size()) return 0;
  return flagsByCode[static_cast<std::size_t>(code)];
}

struct FormatFlags {
  std::string_view identifier;
  std::int32_t (*compute)(const Settings& settings);
};

constexpr FormatFlags kFormatFlags[] = {
    {"bmp", [](const Settings& s) { return FlagFor(kBmpCompressionFlags, s.output.bmpCompression); }},
    {"exr", [](const Settings& s) { return FlagFor(kExrCompressionFlags, s.output.exrCompression); }},
    {"jpg",
     [](const Settings& s) {
       return s.output.jpgQuality | FlagFor(kJpgChromaFlags, s.output.jpgChroma) |
              FlagFor(kJpgSaveAsFlags, s.output.jpgSaveAs);
     }},
    {"jxr", [](const Settings&) -> std::int32_t { return JXR_LOSSLESS; }},
    {"png",
     [](const Settings& s) {
       return FlagFor(kPngCompressionFlags, s.output.pngCompression) |
              (s.output.pngInterlaced != 0 ? PNG_INTERLACED : 0);
     }},
    {"tga", [](const Settings& s) { return FlagFor(kTgaCompressionFlags, s.output.tgaCompression); }},
    {"tiff",
     [](const Settings& s) {
       return FlagFor(kTiffCompressionFlags, s.output.tiffCompression) |
              FlagFor(kTiffColorModeFlags, s.output.tiffColorMode);
     }},
    {"webp",
     [](const Settings& s) -> std::int32_t {
       return s.output.webpQuality == kWebpLosslessQuality ? WEBP_LOSSLESS : s.output.webpQuality;
     }},
};

}  // namespace

std::int32_t ComputeSaveFlags(const Settings& settings, std::string_view formatIdentifier) {
  for (const FormatFlags& format : kFormatFlags) {
    if (format.identifier == formatIdentifier) return format.compute(settings);
  }
  return 0;
}

}  // namespace lumivane
