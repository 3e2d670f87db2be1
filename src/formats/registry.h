#pragma once
// The program's fixed knowledge of file formats: input extensions, accepted RAW extensions and the output formats.
// All tables are compile-time constants, so every query works from the first moment of the process.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lumivane {

// One input file extension (lower case, no dot), the input format group it belongs to and its display text.
struct InputExtension {
  std::string_view extension;
  std::string_view group;
  std::string_view description;
};

// One output format. The encoder type id is a FreeImage format number, or a DevIL image type for psd, dds and pcx.
struct OutputFormat {
  std::string_view identifier;        // lower case, also the extension of the written files
  std::int32_t encoderTypeId;
  std::string_view description;
  std::string_view allowedBitDepths;  // comma-separated, ascending, no spaces: "8,24"
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
std::optional<OutputFormat> FindOutputFormat(std::string_view identifier);

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
