#include "formats/tiff_rules.h"

#include <FreeImage.h>

#include <span>

#include "formats/bit_depth_list.h"

namespace lumivane {
namespace {

// A compression that only some depths allow, and what the encoder writes elsewhere.
struct CompressionLimit {
  TiffCompression compression;
  std::string_view depths;  // the depths that allow it, as the output format rows list them
  bool greyLevels;          // also allowed for 8-bit grey levels
};

constexpr CompressionLimit kCompressionLimits[] = {
    {TiffCompression::kCcittFax3, "1", false},
    {TiffCompression::kCcittFax4, "1", false},
    {TiffCompression::kJpeg, "24", true},
    {TiffCompression::kLogLuv, "96", false},
};

constexpr std::int32_t kCompressionFlags[] = {TIFF_NONE,     TIFF_CCITTFAX3, TIFF_CCITTFAX4,
                                              TIFF_PACKBITS, TIFF_DEFLATE,   TIFF_ADOBE_DEFLATE,
                                              TIFF_LZW,      TIFF_JPEG,      TIFF_LOGLUV};
constexpr std::int32_t kColorModeFlags[] = {0, TIFF_CMYK, 0};  // RGB, CMYK, LAB

std::int32_t FlagAt(std::span<const std::int32_t> flags, std::int32_t code) {
  return code >= 0 && static_cast<std::size_t>(code) < flags.size() ? flags[static_cast<std::size_t>(code)] : 0;
}

}  // namespace

TiffCompression TiffCompressionWritten(TiffCompression asked, std::int32_t bitDepth, bool greyLevels) {
  for (const CompressionLimit& limit : kCompressionLimits) {
    if (limit.compression != asked) continue;
    if (ParseBitDepthList(limit.depths).Contains(bitDepth) || (limit.greyLevels && greyLevels && bitDepth == 8)) {
      return asked;
    }
    return asked == TiffCompression::kLogLuv && bitDepth == 1 ? TiffCompression::kCcittFax4 : TiffCompression::kLzw;
  }
  return asked;
}

std::int32_t TiffCmykBitDepth(std::int32_t bitDepth) {
  if (bitDepth == 24 || bitDepth == 32) return 32;
  return bitDepth == 48 ? 64 : 0;
}

std::int32_t TiffWrittenBitDepth(ColorMode colorMode, std::int32_t bitDepth) {
  const std::int32_t cmyk = TiffCmykBitDepth(bitDepth);
  return colorMode == ColorMode::kCmyk && cmyk != 0 ? cmyk : bitDepth;
}

std::int32_t TiffSaveFlags(TiffCompression compression, ColorMode colorMode) {
  return FlagAt(kCompressionFlags, CodeOf(compression)) | FlagAt(kColorModeFlags, CodeOf(colorMode));
}

}  // namespace lumivane
