#pragma once
// Bounds the memory of the files in flight: each file is expected to take a share estimated from its size, and
// files are started only while their shares fit into the budget.
#include <algorithm>
#include <cstdint>

namespace lumivane {

// Peak memory a camera file of this size is expected to take while it is decoded, edited and encoded into memory:
// the decoder's working buffers, the decoded picture in 48 bits, one edited copy and the encoded bytes.
std::uint64_t EstimateFileMemory(std::uint64_t fileSize);

// The budget of a run when nothing else is known: three quarters of the memory available to the process.
std::uint64_t DefaultMemoryBudget();
// The same for a given amount of available memory (never below one file's fixed share).
std::uint64_t MemoryBudgetFor(std::uint64_t availableBytes);

// The shares handed out so far. Not locked: its owner keeps it under its own lock.
class MemoryLedger {
 public:
  explicit MemoryLedger(std::uint64_t budget) : budget_(budget) {}

  // Whether a share of `bytes` may be handed out now. With nothing handed out it always may, so that a file
  // larger than the whole budget still runs, alone.
  bool Fits(std::uint64_t bytes) const { return reserved_ == 0 || bytes <= budget_ - std::min(budget_, reserved_); }
  void Reserve(std::uint64_t bytes);
  // Gives back part of a share; never more than is handed out.
  void Release(std::uint64_t bytes);

  std::uint64_t Reserved() const { return reserved_; }
  std::uint64_t Budget() const { return budget_; }

 private:
  std::uint64_t budget_;
  std::uint64_t reserved_ = 0;
};

}  // namespace lumivane
