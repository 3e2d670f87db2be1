#pragma once
// Work on numbered items by several threads, commit strictly in number order on one thread.
//
// Workers claim items in number order, work on them in any order and at any speed, and hand their results over;
// the committing thread takes the results in number order, so everything it does (naming, counters, writing,
// console lines) happens exactly as in a run that takes one item after the other. Two limits keep a slow item from
// letting results pile up: at most `window` items are claimed but not committed, and an item is claimed only when
// its memory estimate fits into the budget beside the items in flight (an item larger than the budget runs alone).
#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "batch/memory_budget.h"

namespace lumivane {

class OrderedCommit {
 public:
  // `estimates[i]`: the memory item i is expected to take while it is worked on. `window` of 0 counts as 1.
  OrderedCommit(std::vector<std::uint64_t> estimates, std::size_t window, std::uint64_t memoryBudget);

  std::size_t Count() const { return estimates_.size(); }

  // Worker: the next item to work on. Waits while the window is full or the item's memory does not fit; nothing
  // once every item is claimed or after Stop.
  std::optional<std::size_t> Claim();
  // Worker: the item's result is ready; of its memory share only `heldUntilCommit` (its encoded bytes, say) stays
  // taken until it is committed.
  void Finish(std::size_t index, std::uint64_t heldUntilCommit);

  // Committer: waits until item `index`, the next in order, has finished. False when it never will: the run was
  // stopped before the item was claimed.
  bool WaitUntilFinished(std::size_t index);
  // Committer: the item is committed; its window slot and the rest of its memory are free.
  void Committed(std::size_t index);

  // No item is claimed after this; items already claimed still finish and can be committed.
  void Stop();

  // The most memory that was ever handed out at once.
  std::uint64_t PeakReserved() const;

 private:
  bool CanClaimLocked() const;

  mutable std::mutex lock_;
  std::condition_variable claimable_;
  std::condition_variable finished_;
  std::vector<std::uint64_t> estimates_;
  std::vector<std::uint64_t> held_;   // share still taken by each item
  std::vector<bool> done_;            // finished, waiting for its commit
  std::size_t window_;
  std::size_t nextClaim_ = 0;
  std::size_t nextCommit_ = 0;
  bool stopped_ = false;
  MemoryLedger ledger_;
  std::uint64_t peakReserved_ = 0;
};

// Starts up to `count` threads that each run body(), as many as the system gives (it may refuse threads when
// processes or memory are scarce).
std::vector<std::thread> StartThreads(std::int32_t count, const std::function<void()>& body);

// Runs work(i) -> Result for every item of `queue`, on `jobs` worker threads, and commit(i, Result&) on the calling
// thread in number order. With `jobs` 1 the calling thread does both, item after item: work(0), commit(0),
// work(1), ... When the system gives fewer threads, the run goes on with those it gave, and with none as with
// `jobs` 1; `threadsUsed` (when given) receives how many threads worked. `heldBytes(result)` is what a finished
// result keeps in memory until its commit. A commit may call queue.Stop() to end the run early. Returns how many
// items were committed.
template <typename Result, typename Work, typename HeldBytes, typename Commit>
std::size_t RunInOrder(OrderedCommit& queue, std::int32_t jobs, Work work, HeldBytes heldBytes, Commit commit,
                       std::int32_t* threadsUsed = nullptr) {
  std::vector<std::optional<Result>> results(queue.Count());
  std::size_t committed = 0;
  auto commitInOrder = [&](std::size_t index) {
    if (!queue.WaitUntilFinished(index)) return false;
    Result result = std::move(*results[index]);
    results[index].reset();
    commit(index, result);
    queue.Committed(index);
    ++committed;
    return true;
  };
  auto workOn = [&](std::size_t index) {
    results[index].emplace(work(index));  // each slot is written by one worker; the queue's lock publishes it
    queue.Finish(index, heldBytes(*results[index]));
  };

  std::vector<std::thread> workers;
  if (jobs > 1) {
    workers = StartThreads(jobs, [&] {
      while (const std::optional<std::size_t> index = queue.Claim()) workOn(*index);
    });
  }
  if (threadsUsed != nullptr) *threadsUsed = std::max<std::int32_t>(1, static_cast<std::int32_t>(workers.size()));
  if (workers.empty()) {
    while (const std::optional<std::size_t> index = queue.Claim()) {
      workOn(*index);
      if (!commitInOrder(*index)) break;
    }
    return committed;
  }
  for (std::size_t index = 0; index < queue.Count(); ++index) {
    if (!commitInOrder(index)) break;
  }
  queue.Stop();  // wakes workers that wait for a window slot
  for (std::thread& worker : workers) worker.join();
  return committed;
}

}  // namespace lumivane
