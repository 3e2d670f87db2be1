// A long-lived worker: a fresh process of the running program with nothing but its channel, results come back
// whole request after request, every way a worker can go wrong is told apart from success, and a lost worker is
// replaced by the next request.
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

#include "platform/process.h"
#include "support/misbehaving_worker.h"

namespace lumivane::testing {
namespace {

using std::chrono::milliseconds;

constexpr milliseconds kGenerous{60000};

std::vector<unsigned char> Bytes(const std::string& text) { return {text.begin(), text.end()}; }
std::string Text(const std::vector<unsigned char>& bytes) { return {bytes.begin(), bytes.end()}; }

bool ProcessExists(pid_t pid) { return ::kill(pid, 0) == 0 || errno != ESRCH; }

// A worker of this test program that serves MisbehavingWorkerTask.
WorkerProcess Misbehaving() { return WorkerProcess(kMisbehavingGreeting); }

TEST(WorkerProcess, OneWorkerHandsBackEveryResultWhole) {
  WorkerProcess worker = Misbehaving();
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

// Started afresh, not forked: the worker has only its standard descriptors and its channel, and state of its own.
TEST(WorkerProcess, AWorkerIsAFreshProcessWithNothingButItsChannel) {
  WorkerProcess worker = Misbehaving();
  EXPECT_EQ(Text(worker.Run(Bytes("count"), kGenerous).bytes), "1");
  EXPECT_EQ(Text(worker.Run(Bytes("count"), kGenerous).bytes), "2");
  const std::string descriptors = Text(worker.Run(Bytes("descriptors"), kGenerous).bytes);
  // A sanitized build keeps one more: its copy of standard error for reports.
  EXPECT_TRUE(descriptors == "0 1 2 3" || (kSanitizedBuild && descriptors.starts_with("0 1 2 3 "))) << descriptors;
  char target[4096] = {};
  const std::string exe = "/proc/" + std::to_string(worker.pid()) + "/exe";
  ASSERT_GT(::readlink(exe.c_str(), target, sizeof target - 1), 0);
  EXPECT_EQ(std::string(target), lumivane::ProgramPath());
}

// A worker that dies before it is ready (here: a greeting it does not know) is never handed a request.
TEST(WorkerProcess, AWorkerThatNeverBecomesReadyIsNotStarted) {
  WorkerProcess worker(Bytes("a greeting nobody knows"));
  EXPECT_TRUE(worker.Launch());
  EXPECT_FALSE(worker.WaitUntilReady());
  EXPECT_EQ(worker.pid(), -1);
  EXPECT_EQ(worker.Run(Bytes("x"), kGenerous).outcome, WorkerOutcome::kNotStarted);
}

TEST(WorkerProcess, AWorkerThatEndsWithoutAResultCrashedAndIsReplaced) {
  WorkerProcess worker = Misbehaving();
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
  WorkerProcess worker = Misbehaving();
  ASSERT_EQ(worker.Run(Bytes("warm"), kGenerous).outcome, WorkerOutcome::kCompleted);
  const pid_t pid = worker.pid();
  const WorkerResult result = worker.Run(Bytes("hang"), milliseconds(200));
  EXPECT_EQ(result.outcome, WorkerOutcome::kTimedOut);
  EXPECT_FALSE(ProcessExists(pid)) << "the hung worker must be gone, not left as a zombie";
  EXPECT_EQ(worker.pid(), -1);
  EXPECT_EQ(Text(worker.Run(Bytes("after"), kGenerous).bytes), "after");
}

TEST(WorkerProcess, AWorkerKilledWhileIdleIsReplacedWithoutLosingTheRequest) {
  WorkerProcess worker = Misbehaving();
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
  WorkerProcess worker = Misbehaving();
  const std::vector<unsigned char> huge(kLargestWorkerRequest + 1, 'x');
  EXPECT_EQ(worker.Run(huge, kGenerous).outcome, WorkerOutcome::kNotStarted);
  EXPECT_EQ(worker.startCount(), 0);
  const std::vector<unsigned char> largest(kLargestWorkerRequest, 'y');
  EXPECT_EQ(worker.Run(largest, kGenerous).bytes, largest);
}

TEST(WorkerProcess, ADroppedWorkerIsKilled) {
  pid_t pid = 0;
  {
    WorkerProcess worker = Misbehaving();
    ASSERT_EQ(worker.Run(Bytes("warm"), kGenerous).outcome, WorkerOutcome::kCompleted);
    pid = worker.pid();
    EXPECT_TRUE(ProcessExists(pid));
  }
  EXPECT_FALSE(ProcessExists(pid));
}

// So that no worker outlives a caller that ends without cleaning up, a worker ends with the thread that started it.
TEST(WorkerProcess, AWorkerEndsWithTheThreadThatStartedIt) {
  WorkerProcess worker = Misbehaving();
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
  EXPECT_EQ(Text(worker.Run(Bytes("again"), kGenerous).bytes), "again") << "the next request starts a new worker";
  EXPECT_EQ(worker.startCount(), 2);
}

TEST(WorkerProcess, WorkersOnSeveralThreadsKeepTheirOwnResults) {
  constexpr unsigned kWorkers = 4;
  std::vector<std::thread> threads;
  std::vector<int> mismatches(kWorkers, 0);
  for (unsigned n = 0; n < kWorkers; ++n) {
    threads.emplace_back([n, &mismatches] {
      WorkerProcess worker = Misbehaving();
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
