#include "settings/name_tokens.h"

#include <algorithm>
#include <cstdio>

#include "platform/ascii_text.h"
#include "platform/paths.h"
#include "settings/letter_case.h"

namespace lumivane {

namespace {

constexpr bool TokensAreWellFormed() {
  for (std::size_t i = 0; i < kTokenTable.size(); ++i) {
    const std::string_view token = kTokenTable[i].token;
    if (token.size() < 3 || token.front() != '%' || token.back() != '%') return false;
    if (std::any_of(token.begin(), token.end(), [](char c) { return c >= 'A' && c <= 'Z'; })) return false;
    for (std::size_t j = 0; j < i; ++j) {
      if (kTokenTable[j].token == token || kTokenTable[j].kind == kTokenTable[i].kind) return false;
    }
  }
  return true;
}
static_assert(TokensAreWellFormed(), "tokens and kinds are distinct; tokens are lower case and enclosed in %");

// A number in at least five characters: padded on the left with "0", and cut to its first five characters.
std::string FiveCharacters(std::int32_t number) {
  std::string text = std::to_string(number);
  if (text.size() < 5) text.insert(0, 5 - text.size(), '0');
  text.resize(5);
  return text;
}

std::string TwoDigits(int number) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", number);
  return text;
}

std::string FourDigits(int number) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d", number);
  return text;
}

std::tm LocalTimeOf(const TokenValues& values) {
  const std::time_t moment = values.moment.value_or(std::time(nullptr));
  std::tm local{};
  localtime_r(&moment, &local);
  return local;
}

// The row of a token written in any case.
const TokenRow* FindToken(std::string_view token) {
  for (const TokenRow& row : kTokenTable) {
    if (EqualsIgnoringAsciiCase(token, row.token)) return &row;
  }
  return nullptr;
}

std::string ValueOf(TokenKind kind, const TokenValues& values) {
  const std::string_view baseName = FileBaseName(values.inputFile);
  switch (kind) {
    case TokenKind::kBaseName: return std::string(baseName);
    case TokenKind::kBaseNameUpper: return UpperCaseText(baseName);
    case TokenKind::kBaseNameLower: return LowerCaseText(baseName);
    case TokenKind::kBaseNameTitle: return TitleCaseText(baseName);
    case TokenKind::kFormat: return values.outputFormat;
    case TokenKind::kFormatUpper: return UpperCaseText(values.outputFormat);
    case TokenKind::kFormatTitle: return TitleCaseText(values.outputFormat);
    case TokenKind::kYear: return FourDigits(LocalTimeOf(values).tm_year + 1900);
    case TokenKind::kMonth: return TwoDigits(LocalTimeOf(values).tm_mon + 1);
    case TokenKind::kDay: return TwoDigits(LocalTimeOf(values).tm_mday);
    case TokenKind::kHour: return TwoDigits(LocalTimeOf(values).tm_hour);
    case TokenKind::kMinute: return TwoDigits(LocalTimeOf(values).tm_min);
    case TokenKind::kSecond: return TwoDigits(LocalTimeOf(values).tm_sec);
    case TokenKind::kBitDepth: return std::to_string(values.bitDepth);
    case TokenKind::kWidth: return std::to_string(values.imageWidth);
    case TokenKind::kHeight: return std::to_string(values.imageHeight);
    case TokenKind::kFrame: return std::to_string(values.frameNumber);
    case TokenKind::kRandomNumber: return FiveCharacters(values.randomNumber);
    case TokenKind::kFileCounter: return FiveCharacters(values.fileCounter);
  }
  return {};
}

}  // namespace

const TokenRow* FirstTokenOfTheRunOrPicture(std::string_view text, bool automaticDepth) {
  const std::string probe = AsciiLower(text);
  for (const TokenRow& row : kTokenTable) {
    const bool ofTheRun = row.source == TokenSource::kClock || row.source == TokenSource::kNumbering;
    if ((ofTheRun || NeedsThePicture(row, automaticDepth)) && probe.find(row.token) != std::string::npos) return &row;
  }
  return nullptr;
}

std::string TokenValue(std::string_view token, const TokenValues& values) {
  const TokenRow* row = FindToken(token);
  return row != nullptr ? ValueOf(row->kind, values) : std::string();
}

std::string ExpandToken(std::string_view text, std::string_view token, const TokenValues& values) {
  const TokenRow* row = FindToken(token);
  if (row == nullptr) return std::string(text);
  if (!values.pictureKnown && NeedsThePicture(*row, values.bitDepth == 0)) return std::string(text);
  const std::string value = ValueOf(row->kind, values);  // once, so every occurrence shows the same time
  std::string result;
  result.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    if (HoldsIgnoringAsciiCase(text, at, row->token)) {
      result += value;
      at += token.size();
    } else {
      result += text[at++];
    }
  }
  return result;
}

std::string ExpandFilenameMask(std::string_view mask, const TokenValues& values) {
  std::string name = LowerCaseText(mask);
  if (name.empty()) name = kDefaultFilenameMask;
  for (const TokenRow& row : kTokenTable) {
    if (name.find(row.token) != std::string::npos) name = ExpandToken(name, row.token, values);
  }
  return name;
}

std::string FillWatermarkText(std::string_view text, const TokenValues& values) {
  if (std::count(text.begin(), text.end(), '%') < 2) return std::string(text);
  const std::string probe = LowerCaseText(text);
  std::string filled(text);
  for (const TokenRow& row : kTokenTable) {
    if (probe.find(row.token) != std::string::npos) filled = ExpandToken(filled, row.token, values);
  }
  return filled;
}

}  // namespace lumivane
