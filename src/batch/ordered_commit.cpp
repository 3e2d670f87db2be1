#include "batch/ordered_commit.h"

#include <algorithm>
#include <system_error>
#include <utility>

namespace lumivane {

OrderedCommit::OrderedCommit(std::vector<std::uint64_t> estimates, std::size_t window, std::uint64_t memoryBudget)
    : estimates_(std::move(estimates)),
      held_(estimates_.size(), 0),
      done_(estimates_.size(), false),
      window_(std::max<std::size_t>(window, 1)),
      ledger_(memoryBudget) {}

bool OrderedCommit::CanClaimLocked() const {
  if (stopped_ || nextClaim_ >= estimates_.size()) return true;  // the answer (nothing) is ready
  return nextClaim_ - nextCommit_ < window_ && ledger_.Fits(estimates_[nextClaim_]);
}

std::optional<std::size_t> OrderedCommit::Claim() {
  std::unique_lock<std::mutex> hold(lock_);
  claimable_.wait(hold, [this] { return CanClaimLocked(); });
  if (stopped_ || nextClaim_ >= estimates_.size()) return std::nullopt;
  const std::size_t index = nextClaim_++;
  held_[index] = estimates_[index];
  ledger_.Reserve(held_[index]);
  peakReserved_ = std::max(peakReserved_, ledger_.Reserved());
  // The next item may fit as well: let another waiting worker look.
  claimable_.notify_one();
  return index;
}

void OrderedCommit::Finish(std::size_t index, std::uint64_t heldUntilCommit) {
  {
    const std::lock_guard<std::mutex> hold(lock_);
    const std::uint64_t keep = std::min(heldUntilCommit, held_[index]);
    ledger_.Release(held_[index] - keep);
    held_[index] = keep;
    done_[index] = true;
  }
  finished_.notify_all();
  claimable_.notify_all();
}

bool OrderedCommit::WaitUntilFinished(std::size_t index) {
  std::unique_lock<std::mutex> hold(lock_);
  finished_.wait(hold, [&] { return done_[index] || (stopped_ && index >= nextClaim_); });
  return done_[index];
}

void OrderedCommit::Committed(std::size_t index) {
  {
    const std::lock_guard<std::mutex> hold(lock_);
    ledger_.Release(held_[index]);
    held_[index] = 0;
    done_[index] = false;
    nextCommit_ = index + 1;
  }
  claimable_.notify_all();
}

void OrderedCommit::Stop() {
  {
    const std::lock_guard<std::mutex> hold(lock_);
    stopped_ = true;
  }
  claimable_.notify_all();
  finished_.notify_all();
}

std::vector<std::thread> StartThreads(std::int32_t count, const std::function<void()>& body) {
  std::vector<std::thread> threads;
  for (std::int32_t n = 0; n < count; ++n) {
    try {
      threads.emplace_back(body);
    } catch (const std::system_error&) {
      break;
    }
  }
  return threads;
}

std::uint64_t OrderedCommit::PeakReserved() const {
  const std::lock_guard<std::mutex> hold(lock_);
  return peakReserved_;
}

}  // namespace lumivane
