// Work in a forked child: results come back whole, and every way a child can go wrong is told apart from success.
#include "platform/child_work.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <stdexcept>

namespace lumivane::testing {
namespace {

using std::chrono::milliseconds;

constexpr milliseconds kGenerous{60000};

std::vector<unsigned char> Pattern(std::size_t size, unsigned seed) {
  std::vector<unsigned char> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<unsigned char>((i * 31 + seed) & 0xFF);
  return bytes;
}

bool ProcessExists(pid_t pid) { return ::kill(pid, 0) == 0 || errno != ESRCH; }

TEST(ChildWork, HandsBackTheResultWhole) {
  for (const std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{200000}, std::size_t{8u << 20}}) {
    const std::vector<unsigned char> expected = Pattern(size, 7);
    auto work = StartChildWork([&expected] { return expected; }, kGenerous);
    ASSERT_NE(work, nullptr);
    const ChildResult result = CollectChildWork(*work);
    EXPECT_EQ(result.outcome, ChildOutcome::kCompleted) << size;
    EXPECT_EQ(result.bytes, expected) << size;
  }
}

TEST(ChildWork, ChangesInTheChildStayThere) {
  int counter = 1;
  auto work = StartChildWork(
      [&counter] {
        counter = 99;
        return std::vector<unsigned char>{static_cast<unsigned char>(counter)};
      },
      kGenerous);
  ASSERT_NE(work, nullptr);
  const ChildResult result = CollectChildWork(*work);
  EXPECT_EQ(result.bytes, std::vector<unsigned char>{99});
  EXPECT_EQ(counter, 1);
}

struct FailingChild {
  const char* what;
  ChildTask task;
};

TEST(ChildWork, AChildThatEndsWithoutAResultCrashed) {
  const FailingChild cases[] = {
      {"abort", []() -> std::vector<unsigned char> { std::abort(); }},
      {"segmentation fault", []() -> std::vector<unsigned char> {
         ::raise(SIGSEGV);
         return {1};
       }},
      {"exit 0 from inside the work", []() -> std::vector<unsigned char> { ::_exit(0); }},
      {"exit 3 from inside the work", []() -> std::vector<unsigned char> { std::exit(3); }},
      {"exception", []() -> std::vector<unsigned char> { throw std::runtime_error("no"); }},
  };
  for (const FailingChild& c : cases) {
    auto work = StartChildWork(c.task, kGenerous);
    ASSERT_NE(work, nullptr) << c.what;
    const ChildResult result = CollectChildWork(*work);
    EXPECT_EQ(result.outcome, ChildOutcome::kCrashed) << c.what;
    EXPECT_TRUE(result.bytes.empty()) << c.what;
  }
}

TEST(ChildWork, AChildPastItsTimeLimitIsKilledAndReaped) {
  auto work = StartChildWork(
      []() -> std::vector<unsigned char> {
        for (;;) ::pause();
      },
      milliseconds(200));
  ASSERT_NE(work, nullptr);
  const pid_t pid = work->pid();
  const ChildResult result = CollectChildWork(*work);
  EXPECT_EQ(result.outcome, ChildOutcome::kTimedOut);
  EXPECT_FALSE(ProcessExists(pid)) << "the hung child must be gone, not left as a zombie";
}

TEST(ChildWork, SeveralChildrenInFlightKeepTheirOwnResults) {
  std::vector<std::unique_ptr<ChildWork>> works;
  for (unsigned seed = 0; seed < 4; ++seed) {
    works.push_back(StartChildWork([seed] { return Pattern(100000 + seed, seed); }, kGenerous));
    ASSERT_NE(works.back(), nullptr);
  }
  for (unsigned seed = 4; seed-- > 0;) {  // collected in the other order
    const ChildResult result = CollectChildWork(*works[seed]);
    EXPECT_EQ(result.outcome, ChildOutcome::kCompleted) << seed;
    EXPECT_EQ(result.bytes, Pattern(100000 + seed, seed)) << seed;
  }
}

TEST(ChildWork, ADroppedHandleKillsItsChild) {
  pid_t pid = 0;
  {
    auto work = StartChildWork(
        []() -> std::vector<unsigned char> {
          for (;;) ::pause();
        },
        kGenerous);
    ASSERT_NE(work, nullptr);
    pid = work->pid();
    EXPECT_TRUE(ProcessExists(pid));
  }
  EXPECT_FALSE(ProcessExists(pid));
}

TEST(ChildWork, ASecondCollectFindsNothing) {
  auto work = StartChildWork([] { return std::vector<unsigned char>{1, 2}; }, kGenerous);
  ASSERT_NE(work, nullptr);
  EXPECT_EQ(CollectChildWork(*work).outcome, ChildOutcome::kCompleted);
  const ChildResult again = CollectChildWork(*work);
  EXPECT_EQ(again.outcome, ChildOutcome::kCrashed);
  EXPECT_TRUE(again.bytes.empty());
}

}  // namespace
}  // namespace lumivane::testing
