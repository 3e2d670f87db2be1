#pragma once
// The tokens of filename masks and watermark texts ("%filename%", "%n%", ...) and their expansion. Nothing here
// touches the file system or any process-wide record.
#include <array>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace lumivane {

inline constexpr std::string_view kDefaultFilenameMask = "%filename%.%ext%";

enum class TokenKind : std::int8_t {
  kBaseName,
  kBaseNameUpper,
  kBaseNameLower,
  kBaseNameTitle,
  kFormat,
  kFormatUpper,
  kFormatTitle,
  kYear,
  kMonth,
  kDay,
  kHour,
  kMinute,
  kSecond,
  kBitDepth,
  kWidth,
  kHeight,
  kFrame,
  kRandomNumber,
  kFileCounter
};

struct TokenRow {
  std::string_view token;
  TokenKind kind;
};

// The tokens, in the order they are expanded.
inline constexpr std::array<TokenRow, 19> kTokenTable = {{
    {"%filename%", TokenKind::kBaseName},  // base name of the input file, case as on disk
    {"%filename[u]%", TokenKind::kBaseNameUpper},
    {"%filename[l]%", TokenKind::kBaseNameLower},
    {"%filename[t]%", TokenKind::kBaseNameTitle},  // first character upper, the rest lower
    {"%ext%", TokenKind::kFormat},                 // output format identifier
    {"%ext[u]%", TokenKind::kFormatUpper},
    {"%ext[t]%", TokenKind::kFormatTitle},
    {"%yyyy%", TokenKind::kYear},  // local date and time of the expansion
    {"%mm%", TokenKind::kMonth},
    {"%dd%", TokenKind::kDay},
    {"%hh%", TokenKind::kHour},
    {"%ii%", TokenKind::kMinute},
    {"%ss%", TokenKind::kSecond},
    {"%bpp%", TokenKind::kBitDepth},
    {"%width%", TokenKind::kWidth},
    {"%height%", TokenKind::kHeight},
    {"%frame%", TokenKind::kFrame},
    {"%rnd%", TokenKind::kRandomNumber},  // five characters, zero-padded
    {"%n%", TokenKind::kFileCounter},     // five characters, zero-padded
}};

// What the tokens stand for, for one file.
struct TokenValues {
  std::string inputFile;     // the base name comes from it
  std::string outputFormat;  // output format identifier
  std::int32_t bitDepth{};
  std::int32_t imageWidth{};
  std::int32_t imageHeight{};
  std::int32_t frameNumber{};
  std::int32_t randomNumber{};
  std::int32_t fileCounter{};
  std::optional<std::time_t> moment;  // time shown by the date tokens; empty: the clock is read for each token
};

// The value of one token of kTokenTable; "" for any other text.
std::string TokenValue(std::string_view token, const TokenValues& values);

// Text with every occurrence of token, compared without regard to case, replaced by its value.
std::string ExpandToken(std::string_view text, std::string_view token, const TokenValues& values);

// The output file name (no folder): the mask in lower case ("" gives the default mask) with each token present
// expanded once, in list order.
std::string ExpandFilenameMask(std::string_view mask, const TokenValues& values);

// A watermark text with its tokens expanded; literal text keeps its case. A text with fewer than two "%" is
// returned unchanged.
std::string FillWatermarkText(std::string_view text, const TokenValues& values);

}  // namespace lumivane
