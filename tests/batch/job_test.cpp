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
  job.debugMarker = "DEBUG";
  ResetJob(job);
  EXPECT_EQ(job.projectName, "untitled.lvx");
  EXPECT_TRUE(job.inputFolder.empty());
  EXPECT_TRUE(job.outputFormat.empty());
  EXPECT_FALSE(IsDebugMode(job));
}

TEST(FileNumberingTest, ABatchStartsAtOneWithADrawnNumberAndNoPreviousDepth) {
  const FileNumbering numbering = FirstFileNumbering();
  EXPECT_EQ(numbering.fileCounter, 1);
  EXPECT_GE(numbering.randomNumber, 1);
  EXPECT_LE(numbering.randomNumber, 99999);
  EXPECT_EQ(numbering.previousOutputBitDepth, 0);
}

TEST(FileNumberingTest, EachConvertedFileCountsOnAndDrawsANewNumber) {
  FileNumbering numbering = FirstFileNumbering();
  numbering.previousOutputBitDepth = 24;
  std::set<std::int32_t> seen{numbering.randomNumber};
  for (std::int32_t expected = 2; expected <= 100; ++expected) {
    NumberNextFile(numbering);
    EXPECT_EQ(numbering.fileCounter, expected);
    ASSERT_GE(numbering.randomNumber, 1);
    ASSERT_LE(numbering.randomNumber, 99999);
    seen.insert(numbering.randomNumber);
  }
  EXPECT_GT(seen.size(), 90u);  // drawn anew each time
  EXPECT_EQ(numbering.previousOutputBitDepth, 24);  // the batch keeps it after each file
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
