#include "batch/ordered_commit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace lumivane::testing {
namespace {

constexpr std::uint64_t kAmpleBudget = ~std::uint64_t{0} / 2;

// Keeps a worker busy for a little while, differently for each item, so that items finish out of order.
void Busy(std::size_t index) {
  std::minstd_rand generator(static_cast<unsigned>(index) + 1);
  for (unsigned n = generator() % 200; n > 0; --n) std::this_thread::yield();
}

// Waits, for at most ten seconds, until `ready()` holds; whether it held.
template <typename Ready>
bool Await(std::mutex& lock, std::condition_variable& changed, Ready ready) {
  std::unique_lock<std::mutex> hold(lock);
  return changed.wait_for(hold, std::chrono::seconds(10), ready);
}

struct Observed {
  std::vector<std::size_t> commitOrder;
  std::vector<std::size_t> workedOn;  // every item handed to work, in any order
  std::mutex lock;
};

TEST(RunInOrder, CommitsInNumberOrderWhateverOrderWorkFinishesIn) {
  for (const std::int32_t jobs : {1, 2, 4, 8}) {
    SCOPED_TRACE(jobs);
    constexpr std::size_t kItems = 300;
    OrderedCommit queue(std::vector<std::uint64_t>(kItems, 1), 2 * static_cast<std::size_t>(jobs), kAmpleBudget);
    Observed seen;
    const std::size_t committed = RunInOrder<std::size_t>(
        queue, jobs,
        [&](std::size_t index) {
          Busy(index);
          const std::lock_guard<std::mutex> hold(seen.lock);
          seen.workedOn.push_back(index);
          return index * 3;
        },
        [](const std::size_t&) { return std::uint64_t{0}; },
        [&](std::size_t index, std::size_t& result) {
          EXPECT_EQ(result, index * 3);  // the result of this very item
          seen.commitOrder.push_back(index);
        });
    EXPECT_EQ(committed, kItems);
    ASSERT_EQ(seen.commitOrder.size(), kItems);
    for (std::size_t i = 0; i < kItems; ++i) EXPECT_EQ(seen.commitOrder[i], i);
    std::sort(seen.workedOn.begin(), seen.workedOn.end());
    for (std::size_t i = 0; i < kItems; ++i) ASSERT_EQ(seen.workedOn[i], i);  // each item once
  }
}

TEST(RunInOrder, OneJobInterleavesWorkAndCommit) {
  OrderedCommit queue(std::vector<std::uint64_t>(4, 1), 8, kAmpleBudget);
  std::vector<std::string> events;
  RunInOrder<int>(
      queue, 1,
      [&](std::size_t index) {
        events.push_back("work " + std::to_string(index));
        return 0;
      },
      [](const int&) { return std::uint64_t{0}; },
      [&](std::size_t index, int&) { events.push_back("commit " + std::to_string(index)); });
  EXPECT_EQ(events, (std::vector<std::string>{"work 0", "commit 0", "work 1", "commit 1", "work 2", "commit 2",
                                               "work 3", "commit 3"}));
}

TEST(RunInOrder, WorkersReallyRunAtTheSameTime) {
  constexpr std::int32_t kJobs = 4;
  OrderedCommit queue(std::vector<std::uint64_t>(kJobs, 1), kJobs, kAmpleBudget);
  std::mutex lock;
  std::condition_variable changed;
  int started = 0;
  std::atomic<int> metAll{0};
  RunInOrder<int>(
      queue, kJobs,
      [&](std::size_t) {
        {
          const std::lock_guard<std::mutex> hold(lock);
          ++started;
        }
        changed.notify_all();
        if (Await(lock, changed, [&] { return started == kJobs; })) ++metAll;
        return 0;
      },
      [](const int&) { return std::uint64_t{0}; }, [](std::size_t, int&) {});
  EXPECT_EQ(metAll.load(), kJobs);
}

TEST(RunInOrder, ASlowFirstItemHoldsBackNoMoreThanTheWindow) {
  constexpr std::int32_t kJobs = 3;
  constexpr std::size_t kWindow = 5;
  constexpr std::size_t kItems = 40;
  OrderedCommit queue(std::vector<std::uint64_t>(kItems, 1), kWindow, kAmpleBudget);
  std::mutex lock;
  std::condition_variable changed;
  std::size_t finishedOthers = 0;
  std::atomic<std::size_t> committedSoFar{0};
  std::atomic<std::size_t> widestGap{0};
  bool othersFilledTheWindow = false;
  RunInOrder<int>(
      queue, kJobs,
      [&](std::size_t index) {
        const std::size_t gap = index - committedSoFar.load() + 1;
        for (std::size_t seen = widestGap.load(); gap > seen && !widestGap.compare_exchange_weak(seen, gap);) {
        }
        if (index == 0) {
          // Item 0 ends only after every other item the window allows has finished.
          othersFilledTheWindow = Await(lock, changed, [&] { return finishedOthers == kWindow - 1; });
          return 0;
        }
        {
          const std::lock_guard<std::mutex> hold(lock);
          ++finishedOthers;
        }
        changed.notify_all();
        return 0;
      },
      [](const int&) { return std::uint64_t{0}; }, [&](std::size_t, int&) { ++committedSoFar; });
  EXPECT_TRUE(othersFilledTheWindow);
  EXPECT_EQ(committedSoFar.load(), kItems);
  EXPECT_LE(widestGap.load(), kWindow);
}

TEST(RunInOrder, MemoryInFlightStaysWithinTheBudget) {
  // Shares of 30 in a budget of 100: at most three items at once, though eight workers wait for them.
  constexpr std::size_t kItems = 60;
  OrderedCommit queue(std::vector<std::uint64_t>(kItems, 30), 64, 100);
  std::atomic<int> running{0};
  std::atomic<int> mostRunning{0};
  RunInOrder<int>(
      queue, 8,
      [&](std::size_t index) {
        const int now = ++running;
        for (int seen = mostRunning.load(); now > seen && !mostRunning.compare_exchange_weak(seen, now);) {
        }
        Busy(index);
        --running;
        return 0;
      },
      [](const int&) { return std::uint64_t{5}; },  // the encoded bytes stay until the commit
      [](std::size_t, int&) {});
  EXPECT_LE(queue.PeakReserved(), 100u);
  EXPECT_LE(mostRunning.load(), 3);
  EXPECT_GE(mostRunning.load(), 1);
}

TEST(RunInOrder, AnItemLargerThanTheBudgetRunsAlone) {
  const std::vector<std::uint64_t> estimates = {10, 10, 500, 10, 10, 10};
  OrderedCommit queue(estimates, 16, 100);
  std::atomic<int> running{0};
  std::atomic<bool> bigHadCompany{false};
  std::atomic<bool> bigRan{false};
  std::vector<std::size_t> order;
  RunInOrder<int>(
      queue, 4,
      [&](std::size_t index) {
        const int now = ++running;
        if (index == 2) {
          bigRan = true;
          if (now != 1) bigHadCompany = true;
          for (int n = 0; n < 1000; ++n) {
            if (running.load() != 1) bigHadCompany = true;
            std::this_thread::yield();
          }
        }
        Busy(index);
        --running;
        return 0;
      },
      [](const int&) { return std::uint64_t{0}; }, [&](std::size_t index, int&) { order.push_back(index); });
  EXPECT_TRUE(bigRan.load());
  EXPECT_FALSE(bigHadCompany.load());
  EXPECT_EQ(order, (std::vector<std::size_t>{0, 1, 2, 3, 4, 5}));
}

TEST(RunInOrder, AStopDuringACommitEndsTheRunAfterTheItemsAlreadyClaimed) {
  for (const std::int32_t jobs : {1, 4}) {
    SCOPED_TRACE(jobs);
    constexpr std::size_t kItems = 100;
    constexpr std::size_t kWindow = 6;
    OrderedCommit queue(std::vector<std::uint64_t>(kItems, 1), kWindow, kAmpleBudget);
    std::atomic<std::size_t> worked{0};
    std::vector<std::size_t> order;
    const std::size_t committed = RunInOrder<int>(
        queue, jobs,
        [&](std::size_t) {
          ++worked;
          return 0;
        },
        [](const int&) { return std::uint64_t{0}; },
        [&](std::size_t index, int&) {
          order.push_back(index);
          if (index == 9) queue.Stop();
        });
    EXPECT_GE(committed, 10u);
    EXPECT_LE(committed, 10u + kWindow);
    EXPECT_EQ(committed, worked.load());  // every claimed item is committed, none is lost
    for (std::size_t i = 0; i < order.size(); ++i) EXPECT_EQ(order[i], i);
  }
}

TEST(RunInOrder, NoItemsNoWork) {
  OrderedCommit queue({}, 4, kAmpleBudget);
  int calls = 0;
  EXPECT_EQ(RunInOrder<int>(
                queue, 4,
                [&](std::size_t) {
                  ++calls;
                  return 0;
                },
                [](const int&) { return std::uint64_t{0}; }, [&](std::size_t, int&) { ++calls; }),
            0u);
  EXPECT_EQ(calls, 0);
}

}  // namespace
}  // namespace lumivane::testing
