#include "platform/bmp_header_rewrite.h"

#include <cstddef>
#include <cstdint>
#include <utility>

namespace lumivane {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kFileSize = 2;
constexpr std::size_t kPixelOffset = 10;
constexpr std::size_t kCompression = kFileHeaderSize + 16;
constexpr std::uint32_t kClassicHeaderSize = 40;
constexpr std::uint32_t kLongerHeaderSizes[] = {52, 56, 108, 124};
constexpr std::uint32_t kBitFields = 3;
constexpr std::size_t kMaskBytes = 12;  // red, green and blue masks; the longer headers hold them at offset 40

std::uint32_t Read32(const std::vector<unsigned char>& bytes, std::size_t at) {
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

void Write32(std::vector<unsigned char>& bytes, std::size_t at, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

bool IsLongerHeader(std::uint32_t size) {
  for (const std::uint32_t longer : kLongerHeaderSizes) {
    if (size == longer) return true;
  }
  return false;
}

}  // namespace

bool RewriteWithClassicBmpHeader(std::vector<unsigned char>& file) {
  if (file.size() < kFileHeaderSize + 4 || file[0] != 'B' || file[1] != 'M') return true;
  const std::uint32_t headerSize = Read32(file, kFileHeaderSize);
  if (!IsLongerHeader(headerSize)) return true;
  const std::size_t headerEnd = kFileHeaderSize + headerSize;
  const std::uint32_t pixelOffset = Read32(file, kPixelOffset);
  if (file.size() < headerEnd || pixelOffset < headerEnd || pixelOffset > file.size()) return false;
  const std::uint32_t compression = Read32(file, kCompression);
  if (compression > kBitFields) return false;

  const std::size_t classicEnd = kFileHeaderSize + kClassicHeaderSize;
  const std::size_t masks = compression == kBitFields ? kMaskBytes : 0;
  std::vector<unsigned char> rewritten(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(classicEnd + masks));
  rewritten.insert(rewritten.end(), file.begin() + static_cast<std::ptrdiff_t>(headerEnd), file.end());
  Write32(rewritten, kFileHeaderSize, kClassicHeaderSize);
  Write32(rewritten, kPixelOffset, static_cast<std::uint32_t>(pixelOffset - headerEnd + classicEnd + masks));
  Write32(rewritten, kFileSize, static_cast<std::uint32_t>(rewritten.size()));
  file = std::move(rewritten);
  return true;
}

}  // namespace lumivane
