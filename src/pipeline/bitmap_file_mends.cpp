#include "pipeline/bitmap_file_mends.h"

#include <cstddef>
#include <cstdint>

namespace lumivane {
namespace {

// BITMAPFILEHEADER and BITMAPINFOHEADER fields, as offsets from the start of the file or of the info header.
constexpr std::size_t kFileSize = 2;
constexpr std::size_t kPixelOffset = 10;
constexpr std::size_t kInfoHeader = 14;
constexpr std::size_t kBitCount = 14;     // in the info header
constexpr std::size_t kCompression = 16;  // in the info header
constexpr std::size_t kImageSize = 20;    // in the info header
constexpr std::size_t kInfoHeaderSize = 40;

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiBitfields = 3;

// RLE8: a run is a count and a value; a zero count starts an escape, whose second byte says which.
constexpr unsigned char kEndOfLine = 0;
constexpr unsigned char kEndOfBitmap = 1;
constexpr unsigned char kDelta = 2;  // followed by two bytes; codes 3..255 start a literal run of that many bytes

// ICONDIR: 6 bytes, then 16 bytes per entry; an entry's image offset is its last field.
constexpr std::size_t kIconDirectorySize = 6;
constexpr std::size_t kIconEntrySize = 16;
constexpr std::size_t kIconEntryImageOffset = 12;

std::uint32_t Read32(const std::vector<unsigned char>& bytes, std::size_t at) {
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

void Write32(std::vector<unsigned char>& bytes, std::size_t at, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

// Zeroes the pad bytes of the stream from `at`; returns where its end-of-bitmap code starts, with `lastEndOfLine`
// where the last end-of-line code before it starts (or 0), or 0 when the stream ends without one.
std::size_t WalkRle8Stream(std::vector<unsigned char>& file, std::size_t at, std::size_t& lastEndOfLine) {
  lastEndOfLine = 0;
  while (at + 2 <= file.size()) {
    const unsigned char count = file[at];
    const unsigned char code = file[at + 1];
    if (count == 0 && code == kEndOfBitmap) return at;
    if (count == 0 && code == kEndOfLine) lastEndOfLine = at;
    if (count != 0 || code == kEndOfLine) {
      at += 2;
    } else if (code == kDelta) {
      at += 4;
    } else {
      at += 2 + code;
      if (code % 2 == 1 && at < file.size()) file[at++] = 0;
    }
  }
  return 0;
}

}  // namespace

bool MendRle8Bitmap(std::vector<unsigned char>& file) {
  if (file.size() < kInfoHeader + kInfoHeaderSize || file[0] != 'B' || file[1] != 'M') return false;
  if (Read32(file, kInfoHeader + kCompression) != kBiRle8) return true;
  const std::uint32_t pixelOffset = Read32(file, kPixelOffset);
  if (pixelOffset < kInfoHeader + kInfoHeaderSize || pixelOffset >= file.size()) return false;
  std::size_t lastEndOfLine = 0;
  const std::size_t endOfBitmap = WalkRle8Stream(file, pixelOffset, lastEndOfLine);
  if (endOfBitmap == 0 || endOfBitmap + 2 != file.size()) return false;
  if (lastEndOfLine != 0 && lastEndOfLine + 2 == endOfBitmap) {
    file.erase(file.begin() + static_cast<std::ptrdiff_t>(lastEndOfLine),
               file.begin() + static_cast<std::ptrdiff_t>(endOfBitmap));
  }
  Write32(file, kFileSize, static_cast<std::uint32_t>(file.size()));
  Write32(file, kInfoHeader + kImageSize, static_cast<std::uint32_t>(file.size() - pixelOffset));
  return true;
}

bool MendSixteenBitIcon(std::vector<unsigned char>& file) {
  if (file.size() < kIconDirectorySize) return false;
  const std::size_t entries = file[4] | file[5] << 8;
  if (kIconDirectorySize + entries * kIconEntrySize > file.size()) return false;
  for (std::size_t i = 0; i < entries; ++i) {
    const std::size_t header = Read32(file, kIconDirectorySize + i * kIconEntrySize + kIconEntryImageOffset);
    if (header + kInfoHeaderSize > file.size()) return false;
    const bool sixteenBits = (file[header + kBitCount] | file[header + kBitCount + 1] << 8) == 16;
    if (sixteenBits && Read32(file, header + kCompression) == kBiBitfields)
      Write32(file, header + kCompression, kBiRgb);
  }
  return true;
}

}  // namespace lumivane
