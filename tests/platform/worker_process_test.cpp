// A long-lived worker: results come back whole request after request, every way a worker can go wrong is told
// apart from success, and a lost worker is replaced by the next request.
#include "platform/worker_process.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <thread>

namespace lumivane::testing {
namespace {

using std::chrono::milliseconds;

constexpr milliseconds kGenerous{60000};

std::vector<unsigned char> Bytes(const std::string& text) { return {text.begin(), text.end()}; }
std::string Text(const std::vector<unsigned char>& bytes) { return {bytes.begin(), bytes.end()}; }

std::vector<unsigned char> Pattern(std::size_t size, unsigned seed) {
  std::vector<unsigned char> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<unsigned char>((i * 31 + seed) & 0xFF);
  return bytes;
}

bool ProcessExists(pid_t pid) { return ::kill(pid, 0) == 0 || errno != ESRCH; }

// Echoes the request, or misbehaves as it asks: "abort", "segv", "_exit", "exit", "throw", "hang", or a size in
// bytes ("size:N") for a patterned result of that size.
std::vector<unsigned char> Misbehave(std::span<const unsigned char> request) {
  const std::string text(request.begin(), request.end());
  if (text == "abort") std::abort();
  if (text == "segv") {
    ::signal(SIGSEGV, SIG_DFL);
    ::raise(SIGSEGV);
  }
  if (text == "_exit") ::_exit(0);
  if (text == "exit") std::exit(3);
  if (text == "throw") throw std::runtime_error("no");
  if (text == "hang") {
    for (;;) ::pause();
  }
  if (text.starts_with("size:")) return Pattern(std::stoul(text.substr(5)), 7);
  return {request.begin(), request.end()};
}

TEST(WorkerProcess, OneWorkerHandsBackEveryResultWhole) {
  WorkerProcess worker(Misbehave);
  pid_t first = -1;
  for (const std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{200000}, std::size_t{8u << 20}}) {
    const WorkerResult result = worker.Run(Bytes("size:" + std::to_string(size)), kGenerous);
    EXPECT_EQ(result.outcome, WorkerOutcome::kCompleted) << size;
    EXPECT_EQ(result.bytes, Pattern(size, 7)) << size;
    if (first < 0) first = worker.pid();
    EXPECT_EQ(worker.pid(), first) << "the same worker serves every request";
  }
  EXPECT_EQ(worker.startCount(), 1);
}

TEST(WorkerProcess, TheWorkerKeepsItsOwnStateAndTheCallersStaysUntouched) {
  int counter = 0;
  WorkerProcess worker([&counter](std::span<const unsigned char>) {
    ++counter;
    return std::vector<unsigned char>{static_cast<unsigned char>(counter)};
  });
  EXPECT_EQ(worker.Run({}, kGenerous).bytes, std::vector<unsigned char>{1});
  EXPECT_EQ(worker.Run({}, kGenerous).bytes, std::vector<unsigned char>{2});
  EXPECT_EQ(counter, 0);
}

TEST(WorkerProcess, AWorkerThatEndsWithoutAResultCrashedAndIsReplaced) {
  WorkerProcess worker(Misbehave);
  for (const char* what : {"abort", "segv", "_exit", "exit", "throw"}) {
    ASSERT_EQ(worker.Run(Bytes("warm"), kGenerous).outcome, WorkerOutcome::kCompleted) << what;
    const pid_t pid = worker.pid();
    const WorkerResult result = worker.Run(Bytes(what), kGenerous);
    EXPECT_EQ(result.outcome, WorkerOutcome::kCrashed) << what;
    EXPECT_TRUE(result.bytes.empty()) << what;
    EXPECT_FALSE(ProcessExists(pid)) << what << ": the dead worker must be reaped";
    const WorkerResult next = worker.Run(Bytes("after"), kGenerous);
    EXPECT_EQ(next.outcome, WorkerOutcome::kCompleted) << what;
    EXPECT_EQ(Text(next.bytes), "after") << what;
  }
  EXPECT_EQ(worker.startCount(), 6);
}

TEST(WorkerProcess, AWorkerPastItsTimeLimitIsKilledAndReaped) {
  WorkerProcess worker(Misbehave);
  ASSERT_EQ(worker.Run(Bytes("warm"), kGenerous).outcome, WorkerOutcome::kCompleted);
  const pid_t pid = worker.pid();
  const WorkerResult result = worker.Run(Bytes("hang"), milliseconds(200));
  EXPECT_EQ(result.outcome, WorkerOutcome::kTimedOut);
  EXPECT_FALSE(ProcessExists(pid)) << "the hung worker must be gone, not left as a zombie";
  EXPECT_EQ(worker.pid(), -1);
  EXPECT_EQ(Text(worker.Run(Bytes("after"), kGenerous).bytes), "after");
}

TEST(WorkerProcess, AWorkerKilledWhileIdleIsReplacedWithoutLosingTheRequest) {
  WorkerProcess worker(Misbehave);
  ASSERT_EQ(worker.Run(Bytes("warm"), kGenerous).outcome, WorkerOutcome::kCompleted);
  const pid_t pid = worker.pid();
  ASSERT_EQ(::kill(pid, SIGKILL), 0);
  while (ProcessExists(pid) && ::waitpid(pid, nullptr, WNOHANG) == 0) std::this_thread::yield();
  const WorkerResult result = worker.Run(Bytes("still here"), kGenerous);
  EXPECT_EQ(result.outcome, WorkerOutcome::kCompleted);
  EXPECT_EQ(Text(result.bytes), "still here");
  EXPECT_EQ(worker.startCount(), 2);
}

TEST(WorkerProcess, ARequestTooLargeNeverReachesAWorker) {
  WorkerProcess worker(Misbehave);
  const std::vector<unsigned char> huge(kLargestWorkerRequest + 1, 'x');
  EXPECT_EQ(worker.Run(huge, kGenerous).outcome, WorkerOutcome::kNotStarted);
  EXPECT_EQ(worker.startCount(), 0);
  const std::vector<unsigned char> largest(kLargestWorkerRequest, 'y');
  EXPECT_EQ(worker.Run(largest, kGenerous).bytes, largest);
}

TEST(WorkerProcess, ADroppedWorkerIsKilled) {
  pid_t pid = 0;
  {
    WorkerProcess worker(Misbehave);
    ASSERT_EQ(worker.Run(Bytes("warm"), kGenerous).outcome, WorkerOutcome::kCompleted);
    pid = worker.pid();
    EXPECT_TRUE(ProcessExists(pid));
  }
  EXPECT_FALSE(ProcessExists(pid));
}

// So that no worker outlives a caller that ends without cleaning up, a worker ends with the thread that forked it.
TEST(WorkerProcess, AWorkerEndsWithTheThreadThatForkedIt) {
  WorkerProcess worker(Misbehave);
  std::thread([&worker] { worker.Run(Bytes("warm"), kGenerous); }).join();
  const pid_t pid = worker.pid();
  ASSERT_GT(pid, 0);
  bool ended = false;
  for (int wait = 0; wait < 500 && !ended; ++wait) {
    siginfo_t info{};
    ended = ::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == pid;
    if (!ended) std::this_thread::sleep_for(milliseconds(10));
  }
  EXPECT_TRUE(ended);
  EXPECT_EQ(Text(worker.Run(Bytes("again"), kGenerous).bytes), "again") << "the next request forks a new worker";
  EXPECT_EQ(worker.startCount(), 2);
}

TEST(WorkerProcess, WorkersOnSeveralThreadsKeepTheirOwnResults) {
  constexpr unsigned kWorkers = 4;
  std::vector<std::thread> threads;
  std::vector<int> mismatches(kWorkers, 0);
  for (unsigned n = 0; n < kWorkers; ++n) {
    threads.emplace_back([n, &mismatches] {
      WorkerProcess worker(Misbehave);
      for (int round = 0; round < 20; ++round) {
        const std::string request = std::to_string(n) + "/" + std::to_string(round) + std::string(1000 * n, 'z');
        const WorkerResult result = worker.Run(Bytes(request), kGenerous);
        if (result.outcome != WorkerOutcome::kCompleted || Text(result.bytes) != request) ++mismatches[n];
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (unsigned n = 0; n < kWorkers; ++n) EXPECT_EQ(mismatches[n], 0) << n;
}

}  // namespace
}  // namespace lumivane::testing
