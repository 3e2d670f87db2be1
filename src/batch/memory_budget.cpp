#include "batch/memory_budget.h"

#include "platform/available_memory.h"

namespace lumivane {

namespace {

// A camera file holds about one to two bytes per pixel (packed or compressed 12 to 14 bit data, or 16 bit
// uncompressed). Decoding takes the raw data (2 bytes per pixel) and four 16-bit channels (8), the decoded picture
// is up to 6 bytes per pixel and an edit makes one more copy: about 24 bytes per pixel at most. Taking one pixel per
// byte of the file overestimates uncompressed files twice, which only costs parallelism when memory is short.
constexpr std::uint64_t kBytesPerFileByte = 24;
// Libraries, fonts and the encoder's buffers of one file, whatever its size.
constexpr std::uint64_t kFixedShare = 64ull << 20;

constexpr std::uint64_t kSaturated = ~std::uint64_t{0};

}  // namespace

std::uint64_t EstimateFileMemory(std::uint64_t fileSize) {
  if (fileSize > (kSaturated - kFixedShare) / kBytesPerFileByte) return kSaturated;
  return kFixedShare + fileSize * kBytesPerFileByte;
}

std::uint64_t DefaultMemoryBudget() { return MemoryBudgetFor(AvailableMemoryBytes()); }

std::uint64_t MemoryBudgetFor(std::uint64_t availableBytes) {
  return std::max(kFixedShare, availableBytes / 4 * 3);
}

void MemoryLedger::Reserve(std::uint64_t bytes) {
  reserved_ = bytes > kSaturated - reserved_ ? kSaturated : reserved_ + bytes;
}

void MemoryLedger::Release(std::uint64_t bytes) { reserved_ -= std::min(bytes, reserved_); }

}  // namespace lumivane
