#pragma once
// Reads a list file line by line as UTF-8 text, whatever its byte-order mark said: a UTF-16 mark (FF FE or
// FE FF) makes the rest decode as UTF-16 of that byte order; EF BB BF and 00 00 FE FF are skipped and UTF-8
// follows. Lines end at CR, LF or CR LF. The file is read in blocks, so any length of list is fine.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace lumivane {

class ListFileReader {
 public:
  explicit ListFileReader(const std::string& path);

  bool IsOpen() const { return file_ != nullptr; }
  // The next line without its line end; false at the end of the file (a last line without line end still counts).
  bool NextLine(std::string& line);

 private:
  enum class Encoding { kUtf8, kUtf16LittleEndian, kUtf16BigEndian };

  bool FillBuffer();
  bool NextByte(unsigned char& byte);
  // The next code unit: a byte in UTF-8, two bytes in UTF-16 (a lone last byte is dropped).
  bool NextUnit(std::uint32_t& unit);
  void SkipByteOrderMark();

  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file_;
  std::vector<unsigned char> buffer_;
  std::size_t position_{};
  std::size_t end_{};
  Encoding encoding_{Encoding::kUtf8};
  bool pendingUnit_{};  // the unit read after a CR, kept for the next line
  std::uint32_t pending_{};
  std::vector<std::uint32_t> wideLine_;  // units of the current UTF-16 line
};

}  // namespace lumivane
