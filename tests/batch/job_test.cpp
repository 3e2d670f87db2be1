#include <gtest/gtest.h>

#include <set>
#include <thread>
#include <vector>

#include "batch/job.h"
#include "batch/progress.h"

namespace lumivane::testing {
namespace {

TEST(JobRecordTest, ResetStartsANewBatch) {
  JobRecord job;
  job.inputFolder = "/in/";
  job.outputFormat = "jpg";
  job.fileCounter = 17;
  job.previousOutputBitDepth = 24;
  job.debugMarker = "DEBUG";
  ResetJob(job);
  EXPECT_EQ(job.projectName, "untitled.lvx");
  EXPECT_EQ(job.fileCounter, 1);
  EXPECT_GE(job.randomNumber, 1);
  EXPECT_LE(job.randomNumber, 99999);
  EXPECT_TRUE(job.inputFolder.empty());
  EXPECT_TRUE(job.outputFormat.empty());
  EXPECT_EQ(job.previousOutputBitDepth, 0);
  EXPECT_FALSE(IsDebugMode(job));
}

TEST(JobRecordTest, RandomNumbersStayInRangeAndVary) {
  std::set<std::int32_t> seen;
  for (int i = 0; i < 1000; ++i) {
    const std::int32_t number = DrawRandomNumber();
    ASSERT_GE(number, 1);
    ASSERT_LE(number, 99999);
    seen.insert(number);
  }
  EXPECT_GT(seen.size(), 900u);
}

TEST(JobRecordTest, DebugModeNeedsTheExactMarkerAndVerboseAConsoleRun) {
  JobRecord job;
  job.debugMarker = "debug";
  EXPECT_FALSE(IsDebugMode(job));
  job.debugMarker = "DEBUG";
  EXPECT_TRUE(IsDebugMode(job));
  EXPECT_FALSE(IsVerbose(job));
  job.consoleMode = 1;
  EXPECT_TRUE(IsVerbose(job));
}

TEST(ProgressRecordTest, CountsUpdatesFromSeveralThreads) {
  ProgressRecord progress;
  progress.Reset();
  std::vector<std::thread> workers;
  for (int t = 0; t < 4; ++t) {
    workers.emplace_back([&progress, t] {
      for (int i = 0; i < 10000; ++i) {
        progress.AddToCount(1);
        progress.StartFile(i, "file" + std::to_string(t), 1000);
      }
    });
  }
  for (std::thread& worker : workers) worker.join();
  const ProgressSnapshot snapshot = progress.Snapshot();
  EXPECT_EQ(snapshot.count, 40000);
  EXPECT_EQ(snapshot.position, 9999);
  EXPECT_EQ(snapshot.lastDuration, 1000);
  EXPECT_TRUE(snapshot.running);
}

TEST(ProgressRecordTest, ResetClearsAPreviousPhase) {
  ProgressRecord progress;
  progress.StartFile(3, "/in/a.cr2", 1500);
  progress.SetCount(7);
  progress.Stop();
  EXPECT_FALSE(progress.IsRunning());
  progress.Reset();
  const ProgressSnapshot snapshot = progress.Snapshot();
  EXPECT_EQ(snapshot.position, 0);
  EXPECT_EQ(snapshot.count, 0);
  EXPECT_EQ(snapshot.lastDuration, 0);
  EXPECT_TRUE(snapshot.currentFile.empty());
  EXPECT_TRUE(snapshot.running);
}

}  // namespace
}  // namespace lumivane::testing
