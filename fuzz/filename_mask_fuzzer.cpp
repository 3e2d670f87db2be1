// The filename mask and the watermark text with any mask, text and token values; the path parts they use.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "platform/ascii_text.h"
#include "platform/paths.h"
#include "settings/letter_case.h"
#include "settings/name_tokens.h"

using namespace lumivane;
using lumivane::fuzzing::Require;

namespace {

void CheckPathParts(std::string_view path) {
  const std::string_view folder = FolderPart(path);
  const std::string_view name = FileNamePart(path);
  Require(std::string(folder) + std::string(name) == path, "folder and name make the path");
  const std::string_view base = FileBaseName(path);
  Require(name.starts_with(base), "the base name begins the name");
  if (const auto extension = ExtensionOf(path)) {
    Require(name.ends_with(*extension), "the extension ends the name");
  }
  const std::string normalised = NormaliseFolder(path, "/program/");
  Require(!normalised.empty() && normalised.back() == '/' && normalised.front() == '/', "a folder is absolute");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  TokenValues values;
  values.inputFile = input.ConsumeRandomLengthString(300);  // one name component is at most 255 bytes on disk
  values.outputFormat = input.ConsumeRandomLengthString(8);
  values.bitDepth = input.ConsumeIntegral<std::int32_t>();
  values.imageWidth = input.ConsumeIntegral<std::int32_t>();
  values.imageHeight = input.ConsumeIntegral<std::int32_t>();
  values.frameNumber = input.ConsumeIntegral<std::int32_t>();
  values.randomNumber = input.ConsumeIntegral<std::int32_t>();
  values.fileCounter = input.ConsumeIntegral<std::int32_t>();
  values.moment = input.ConsumeIntegral<std::int64_t>();  // any time, far past and future included
  const std::string mask = input.ConsumeRandomLengthString(256);
  const std::string text = input.ConsumeRemainingBytesAsString().substr(0, 256);

  CheckPathParts(values.inputFile);

  const std::string name = ExpandFilenameMask(mask, values);
  if (!mask.empty() && mask.find('%') == std::string::npos) {
    Require(name == LowerCaseText(mask), "a mask without tokens is the lower-case mask");
  }
  const std::string filled = FillWatermarkText(text, values);
  if (std::count(text.begin(), text.end(), '%') < 2) Require(filled == text, "a text with fewer than two % stays");

  for (const TokenRow& row : kTokenTable) {
    const std::string value = TokenValue(row.token, values);
    Require(TokenValue(UpperCaseText(row.token), values) == value, "a token in capitals has the same value");
    const std::string expanded = ExpandToken(text, row.token, values);
    if (LowerCaseText(text).find(row.token) == std::string::npos) {
      Require(expanded == text, "a text without the token stays");
    }
  }
  const bool isToken = std::any_of(kTokenTable.begin(), kTokenTable.end(),
                                   [&text](const TokenRow& row) { return EqualsIgnoringAsciiCase(row.token, text); });
  Require(isToken || TokenValue(text, values).empty(), "only tokens have values");
  return 0;
}
