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

std::vector<unsigned char> PackContentResult(const ConvertedFile& converted) {
  Head head{};
  head.marker = kMarker;
  head.failure = static_cast<std::int8_t>(converted.failure);
  head.sourceBitDepth = converted.sourceBitDepth;
  head.outputBitDepth = converted.outputBitDepth;
  head.imageWidth = converted.imageWidth;
  head.imageHeight = converted.imageHeight;
  head.frameNumber = converted.frameNumber;
  head.failureTextSize = converted.detail.size();
  head.encodedSize = converted.encoded.size();
  std::vector<unsigned char> packed(sizeof head + converted.detail.size() + converted.encoded.size());
  std::memcpy(packed.data(), &head, sizeof head);
  std::memcpy(packed.data() + sizeof head, converted.detail.data(), converted.detail.size());
  if (!converted.encoded.empty()) {
    std::memcpy(packed.data() + sizeof head + converted.detail.size(), converted.encoded.data(),
                converted.encoded.size());
  }
  return packed;
}

bool UnpackContentResult(std::span<const unsigned char> packed, ConvertedFile& converted) {
  Head head{};
  if (packed.size() < sizeof head) return false;
  std::memcpy(&head, packed.data(), sizeof head);
  const std::uint64_t rest = packed.size() - sizeof head;
  if (head.marker != kMarker || head.failureTextSize > rest || head.encodedSize != rest - head.failureTextSize) {
    return false;
  }
  const auto* text = reinterpret_cast<const char*>(packed.data() + sizeof head);
  converted.failure = static_cast<ConversionFailure>(head.failure);
  converted.detail.assign(text, static_cast<std::size_t>(head.failureTextSize));
  converted.sourceBitDepth = head.sourceBitDepth;
  converted.outputBitDepth = head.outputBitDepth;
  converted.imageWidth = head.imageWidth;
  converted.imageHeight = head.imageHeight;
  converted.frameNumber = head.frameNumber;
  const auto start = packed.begin() + static_cast<std::ptrdiff_t>(sizeof head + head.failureTextSize);
  converted.encoded.assign(start, packed.end());
  return true;
}

}  // namespace lumivane
