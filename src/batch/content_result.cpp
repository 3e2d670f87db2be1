#include "batch/content_result.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace lumivane {
namespace {

// Fixed-size head of a packed result; the failure text and the output bytes follow it. Both ends are the same
// program on the same machine, so the layout is the compiler's.
struct Head {
  std::uint32_t marker;
  std::int8_t ok;
  std::int8_t failure;
  std::int32_t sourceBitDepth;
  std::int32_t outputBitDepth;
  std::int32_t imageWidth;
  std::int32_t imageHeight;
  std::int32_t frameNumber;
  std::uint64_t failureTextSize;
  std::uint64_t encodedSize;
};

constexpr std::uint32_t kMarker = 0x4C564352;  // "LVCR"

}  // namespace

std::vector<unsigned char> PackContentResult(bool ok, const FileConversion& file,
                                             std::span<const unsigned char> encoded) {
  Head head{};
  head.marker = kMarker;
  head.ok = ok ? 1 : 0;
  head.failure = static_cast<std::int8_t>(file.failure);
  head.sourceBitDepth = file.sourceBitDepth;
  head.outputBitDepth = file.outputBitDepth;
  head.imageWidth = file.imageWidth;
  head.imageHeight = file.imageHeight;
  head.frameNumber = file.frameNumber;
  head.failureTextSize = file.failureText.size();
  head.encodedSize = encoded.size();
  std::vector<unsigned char> packed(sizeof head + file.failureText.size() + encoded.size());
  std::memcpy(packed.data(), &head, sizeof head);
  std::memcpy(packed.data() + sizeof head, file.failureText.data(), file.failureText.size());
  if (!encoded.empty()) {
    std::memcpy(packed.data() + sizeof head + file.failureText.size(), encoded.data(), encoded.size());
  }
  return packed;
}

std::optional<bool> UnpackContentResult(std::span<const unsigned char> packed, FileConversion& file,
                                        std::vector<unsigned char>& encoded) {
  Head head{};
  if (packed.size() < sizeof head) return std::nullopt;
  std::memcpy(&head, packed.data(), sizeof head);
  const std::uint64_t rest = packed.size() - sizeof head;
  if (head.marker != kMarker || head.failureTextSize > rest || head.encodedSize != rest - head.failureTextSize) {
    return std::nullopt;
  }
  const auto* text = reinterpret_cast<const char*>(packed.data() + sizeof head);
  file.failure = static_cast<ConversionFailure>(head.failure);
  file.failureText.assign(text, static_cast<std::size_t>(head.failureTextSize));
  file.sourceBitDepth = head.sourceBitDepth;
  file.outputBitDepth = head.outputBitDepth;
  file.imageWidth = head.imageWidth;
  file.imageHeight = head.imageHeight;
  file.frameNumber = head.frameNumber;
  const auto start = packed.begin() + static_cast<std::ptrdiff_t>(sizeof head + head.failureTextSize);
  encoded.assign(start, packed.end());
  return head.ok != 0;
}

}  // namespace lumivane
