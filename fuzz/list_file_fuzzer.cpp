// List files with any bytes: byte-order marks, line ends, UTF-16 halves, lines across the reader's 64 KiB blocks.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <vector>

#include "batch/list_file_reader.h"
#include "batch/utf8_text.h"
#include "fuzz_support.h"

using namespace lumivane;
using lumivane::fuzzing::Require;

namespace {

constexpr std::size_t kReaderBlock = 64 * 1024;

bool IsValidUtf8(std::string_view text) {
  for (std::size_t pos = 0; pos < text.size();) {
    const Utf8Step step = NextUtf8Step(text, pos);
    if (!step.valid) return false;
    pos += step.length;
  }
  return true;
}

bool StartsWith(std::string_view bytes, std::string_view mark) { return bytes.substr(0, mark.size()) == mark; }

// What a UTF-8 list holds after its mark: every line end removed, and how many lines that makes.
void ExpectedUtf8Lines(std::string_view bytes, std::string& joined, std::size_t& lines) {
  for (const std::string_view mark : {std::string_view("\xEF\xBB\xBF"), std::string_view("\0\0\xFE\xFF", 4)}) {
    if (StartsWith(bytes, mark)) {
      bytes.remove_prefix(mark.size());
      break;
    }
  }
  lines = 0;
  bool open = false;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' || bytes[i] == '\n') {
      if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
      ++lines;
      open = false;
    } else {
      joined += bytes[i];
      open = true;
    }
  }
  if (open) ++lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const bool acrossBlocks = input.ConsumeBool();
  const std::size_t shift = input.ConsumeIntegral<std::uint8_t>() % 16;
  std::string bytes = input.ConsumeRemainingBytesAsString();
  if (acrossBlocks && bytes.size() > 4) {
    // Keep the mark in front, and let the fuzzed bytes after it straddle the first block boundary.
    bytes.insert(4, std::string(kReaderBlock - 4 - shift, 'x'));
  }
  const std::string path = fuzzing::WriteScratchFile("list.lst", bytes);

  ListFileReader reader(path);
  Require(reader.IsOpen(), "a list file that exists opens");
  const bool utf16 = StartsWith(bytes, "\xFF\xFE") || StartsWith(bytes, "\xFE\xFF");
  std::vector<std::string> lines;
  std::string line;
  while (reader.NextLine(line)) {
    Require(line.find_first_of("\r\n") == std::string::npos, "a line holds no line end");
    if (utf16) Require(IsValidUtf8(line), "a UTF-16 list gives valid UTF-8");
    lines.push_back(line);
    Require(lines.size() <= bytes.size(), "a list has at most one line per byte");
  }
  Require(!reader.NextLine(line), "the end stays the end");
  if (!utf16) {
    std::string joined;
    std::size_t count = 0;
    ExpectedUtf8Lines(bytes, joined, count);
    std::string actual;
    for (const std::string& each : lines) actual += each;
    Require(lines.size() == count, "one line per line end, and one for an unterminated last line");
    Require(actual == joined, "a UTF-8 list keeps every byte but its line ends");
  }
  return 0;
}
