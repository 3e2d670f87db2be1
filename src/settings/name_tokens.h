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

// What a token's value comes from besides the input file's name and the output format.
enum class TokenSource : std::int8_t {
  kFile,       // nothing else (the frame number too: a camera file holds one picture)
  kClock,      // the time of the expansion
  kNumbering,  // the batch's counters, which move on after each converted file
  kPicture,    // the decoded picture's working size
  kDepth,      // the output depth: the format's fixed depth, or with automatic depth the decoded picture's
};

struct TokenRow {
  std::string_view token;
  TokenKind kind;
  TokenSource source;
};

// The tokens, in the order they are expanded.
inline constexpr std::array<TokenRow, 19> kTokenTable = {{
    {"%filename%", TokenKind::kBaseName, TokenSource::kFile},  // base name of the input file, case as on disk
    {"%filename[u]%", TokenKind::kBaseNameUpper, TokenSource::kFile},
    {"%filename[l]%", TokenKind::kBaseNameLower, TokenSource::kFile},
    {"%filename[t]%", TokenKind::kBaseNameTitle, TokenSource::kFile},  // first character upper, the rest lower
    {"%ext%", TokenKind::kFormat, TokenSource::kFile},                 // output format identifier
    {"%ext[u]%", TokenKind::kFormatUpper, TokenSource::kFile},
    {"%ext[t]%", TokenKind::kFormatTitle, TokenSource::kFile},
    {"%yyyy%", TokenKind::kYear, TokenSource::kClock},  // local date and time of the expansion
    {"%mm%", TokenKind::kMonth, TokenSource::kClock},
    {"%dd%", TokenKind::kDay, TokenSource::kClock},
    {"%hh%", TokenKind::kHour, TokenSource::kClock},
    {"%ii%", TokenKind::kMinute, TokenSource::kClock},
    {"%ss%", TokenKind::kSecond, TokenSource::kClock},
    {"%bpp%", TokenKind::kBitDepth, TokenSource::kDepth},
    {"%width%", TokenKind::kWidth, TokenSource::kPicture},
    {"%height%", TokenKind::kHeight, TokenSource::kPicture},
    {"%frame%", TokenKind::kFrame, TokenSource::kFile},
    {"%rnd%", TokenKind::kRandomNumber, TokenSource::kNumbering},  // five characters, zero-padded
    {"%n%", TokenKind::kFileCounter, TokenSource::kNumbering},     // five characters, zero-padded
}};

// Whether the token's value needs the decoded picture: its size, or its depth when the depth is automatic.
constexpr bool NeedsThePicture(const TokenRow& row, bool automaticDepth) {
  return row.source == TokenSource::kPicture || (row.source == TokenSource::kDepth && automaticDepth);
}

// The first token of `text` (in any case, in table order) whose value is not known before the file is decoded and
// apart from the rest of the batch: one of the run (clock, numbering) or of the decoded picture. nullptr when
// there is none: then the text is the same for the file in any run of the same settings.
const TokenRow* FirstTokenOfTheRunOrPicture(std::string_view text, bool automaticDepth);

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
  // False before the file is decoded: the tokens that need the picture (NeedsThePicture, bitDepth 0 meaning an
  // automatic depth) are left as written.
  bool pictureKnown = true;
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
