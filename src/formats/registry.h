#pragma once
// The program's fixed knowledge of file formats: input extensions, accepted RAW extensions and the output formats.
// All tables are compile-time constants, so every query works from the first moment of the process. An output
// format's row holds every fact about it; the settings that configure a format name it as their owner in the
// settings table, so its encoder options, its listing lines and its bit-depth check follow from there.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "settings/setting_row.h"
#include "settings/settings.h"

namespace lumivane {

// One input file extension (lower case, no dot), the input format group it belongs to and its display text.
struct InputExtension {
  std::string_view extension;
  std::string_view group;
  std::string_view description;
};

// Which library encodes a format's files, with the preparation that format needs.
enum class EncoderRoute : std::uint8_t {
  kFreeImage,            // FreeImage's encoder
  kFreeImageBitmap,      // FreeImage's, or at 8 bits with an EXACT colour table our own exact-palette writer
  kFreeImageBlackIsOne,  // FreeImage's, given 1-bit values with 1 = black as the format means (it writes bits as is)
  kFreeImageGreyLevels,  // FreeImage's, given grey levels (it would write palette indices)
  kFreeImageFlipped,     // FreeImage's, given the picture upside down: its PFM writer stores the top row first, where
                         // the format stores the bottom row first
  kFreeImageIcon,        // FreeImage's, with the header of 16-bit images mended (it claims bit-field masks it omits)
  kFreeImageTiff,        // FreeImage's, after the TIFF step: CMYK separation, a compression the depth allows
  kDevil,                // DevIL's encoder (FreeImage writes none here)
  kDevilWithMipmaps,     // DevIL's, with mipmaps
  kJpegXr,               // jxrlib's encoder (FreeImage's JPEG XR plugin fails in this build)
};

// How a picture comes down to the format's 16 and 8 bits per pixel.
enum class SixteenBitLayout : std::uint8_t { k565, k555 };
enum class EightBitKind : std::uint8_t {
  kPalette,  // a 256-colour Wu palette
  kGrey,     // grey levels
};

// Where a format's files hold the photo's metadata (EXIF, IPTC, XMP), as the metadata step writes it; kNone: the
// format has no place for it, or none that the metadata library writes.
enum class MetadataContainer : std::uint8_t {
  kNone,
  kJpeg,  // APP1 EXIF and XMP segments, APP13 IPTC
  kPng,   // a standard eXIf chunk (ours), XMP as an iTXt chunk
  kTiff,  // EXIF in the file's own IFDs, IPTC and XMP as tags
  kWebp,  // VP8X with EXIF and XMP chunks (WebP has no place for IPTC)
  kJp2,   // UUID boxes
  kPsd,   // image resources
};

// One output format. The encoder type id is a FreeImage format number, or a DevIL image type for the DevIL routes.
struct OutputFormat {
  std::string_view identifier;  // lower case, also the extension of the written files
  std::int32_t encoderTypeId;
  std::string_view description;
  std::string_view allowedBitDepths;  // comma-separated, ascending, no spaces: "8,24"
  EncoderRoute route = EncoderRoute::kFreeImage;
  SixteenBitLayout sixteenBits = SixteenBitLayout::k565;
  EightBitKind eightBits = EightBitKind::kPalette;
  std::uint32_t largestSide = 0;  // a larger picture is scaled to exactly this square (icons); 0: no limit
  std::int32_t (*saveFlags)(const Settings&) = nullptr;  // the encoder's flags from the format's settings; none: 0
  MetadataContainer metadata = MetadataContainer::kNone;
};

// Makes sure every list below exists. Cheap, idempotent and safe to call from several threads.
void BuildRegistry();

// The input format groups this product accepts: exactly {"raw"}.
const std::vector<std::string>& InputFormatList();
// The 23 output format identifiers in alphabetical order, "bmp" first.
const std::vector<std::string>& OutputFormatList();
// Every extension of the input extension table whose group is in the input format list (the 48 RAW extensions).
const std::vector<std::string>& AcceptedExtensionList();

// All 79 input extensions, and the 23 output formats in the order of the output format list.
std::span<const InputExtension> InputExtensionTable();
std::span<const OutputFormat> OutputFormatTable();

// Lookups by exact (lower-case) key; empty when the key is not in the table.
std::optional<InputExtension> FindInputExtension(std::string_view extension);
const OutputFormat* FindOutputFormat(std::string_view identifier);

// The settings an output format owns, in table order: its bit depth first, then its encoder options.
std::vector<const SettingRow*> OwnedSettings(std::string_view identifier);
// The value of the format's bit-depth setting; 0 (automatic) for an unknown identifier.
std::int32_t BitDepthSettingValue(const Settings& settings, std::string_view identifier);
// The flags passed unchanged to the format's encoder; 0 for an unknown identifier.
std::int32_t SaveFlagsOf(const Settings& settings, std::string_view identifier);

// The depth a file of the format is written with once the picture has bitDepth: a TIFF in CMYK has 32 or 64 bits
// (tiff_rules.h); bitDepth itself otherwise.
std::int32_t WrittenBitDepth(const Settings& settings, const OutputFormat& format, std::int32_t bitDepth);

// True when the identifier equals an output format identifier exactly (case-sensitive, no trimming).
bool IsOutputFormat(std::string_view identifier);

// True when bpp is 0 (automatic) or one of the format's allowed bit depths. An unknown identifier allows only 0.
bool IsAllowedBitDepth(std::string_view identifier, std::int32_t bpp);

// The first allowed bit depth that is not smaller than bpp, else the largest one. An unknown identifier gives 0.
std::int32_t NearestAllowedBitDepth(std::string_view identifier, std::int32_t bpp);

// True when the extension (without dot) is in the accepted extension list. Letters may be in any case: the
// list's entries are lower-case ASCII, so "NEF" and "nef" are both accepted.
bool IsAcceptedExtension(std::string_view extension);

}  // namespace lumivane
