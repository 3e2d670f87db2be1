#include "batch/output_file_time.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "batch_test_helpers.h"
#include "settings/local_time.h"
#include "support/temp_dir.h"

namespace lumivane::testing {
namespace {

void SetTimes(const std::string& path, std::time_t access, std::time_t modification, long nanoseconds) {
  timespec times[2]{};
  times[0].tv_sec = access;
  times[1].tv_sec = modification;
  times[1].tv_nsec = nanoseconds;
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

struct stat StatusOf(const std::string& path) {
  struct stat status {};
  EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
  return status;
}

Settings WithTimestamp(FileTimestamp mode, std::int32_t custom = 0) {
  Settings settings;
  settings.advanced.fileTimestamp = mode;
  settings.advanced.customTimestamp = custom;
  return settings;
}

TEST(OutputFileTimeTest, OriginalCopiesTheInputTimeToTheSecond) {
  const TimeZoneScope zone("CET-1CEST,M3.5.0,M10.5.0/3");
  const std::time_t inputTimes[] = {
      1688212800,  // 2023-07-01, summer time
      1698539400,  // 2023-10-29 00:30 UTC: the first 02:30 local, still summer time
      1698543000,  // 2023-10-29 01:30 UTC: the second 02:30 local, after the clocks went back
  };
  for (const std::time_t inputTime : inputTimes) {
    SCOPED_TRACE(inputTime);
    TempDir dir;
    const std::string input = dir.WriteFile("in.cr2", "x");
    const std::string output = dir.WriteFile("out.jpg", "y");
    SetTimes(input, 1000, inputTime, 750000000);
    SetTimes(output, 5000, 7000, 0);

    EXPECT_TRUE(SetOutputFileTime(WithTimestamp(FileTimestamp::kOriginal), output, input));
    const struct stat status = StatusOf(output);
    EXPECT_EQ(status.st_mtim.tv_sec, inputTime);
    EXPECT_EQ(status.st_mtim.tv_nsec, 0) << "fractions of a second are dropped";
    EXPECT_EQ(status.st_atim.tv_sec, 5000) << "the access time is left alone";
  }
}

// What "--skip-existing" takes as up to date: whole seconds against the input, by the timestamp setting.
TEST(OutputFileTimeTest, AnOutputIsUpToDateByTheTimeItsSettingGivesIt) {
  const struct {
    FileTimestamp mode;
    std::time_t outputTime;  // the input's is 5000.9
    bool upToDate;
  } cases[] = {
      {FileTimestamp::kCurrent, 5000, true},   {FileTimestamp::kCurrent, 6000, true},
      {FileTimestamp::kCurrent, 4999, false},  {FileTimestamp::kOriginal, 5000, true},
      {FileTimestamp::kOriginal, 5001, false}, {FileTimestamp::kCustom, 1, true},
  };
  TempDir dir;
  const std::string input = dir.WriteFile("in.cr2", "x");
  const std::string output = dir.WriteFile("out.jpg", "y");
  SetTimes(input, 0, 5000, 900000000);
  for (const auto& c : cases) {
    SetTimes(output, 0, c.outputTime, 0);
    EXPECT_EQ(OutputIsUpToDate(WithTimestamp(c.mode), output, input), c.upToDate) << c.outputTime;
  }
  EXPECT_FALSE(OutputIsUpToDate(WithTimestamp(FileTimestamp::kCustom), dir / "missing.jpg", input));
  EXPECT_FALSE(OutputIsUpToDate(WithTimestamp(FileTimestamp::kCustom), dir.path().string(), input));  // a folder
}

TEST(OutputFileTimeTest, CustomSetsTheLocalWallClockValue) {
  const TimeZoneScope zone("XST-3");  // three hours east of UTC, no summer time
  TempDir dir;
  const std::string output = dir.WriteFile("out.jpg", "y");
  constexpr std::int32_t kCustom = 1700000000;  // read as local wall clock
  EXPECT_TRUE(SetOutputFileTime(WithTimestamp(FileTimestamp::kCustom, kCustom), output, dir / "in.cr2"));
  const struct stat status = StatusOf(output);
  EXPECT_EQ(status.st_mtim.tv_sec, kCustom - 3 * 3600);
  EXPECT_EQ(LocalWallClockSeconds(status.st_mtim.tv_sec), kCustom);
}

TEST(OutputFileTimeTest, CurrentLeavesTheTimeOfWriting) {
  TempDir dir;
  const std::string output = dir.WriteFile("out.jpg", "y");
  SetTimes(output, 5000, 7000, 0);
  EXPECT_TRUE(SetOutputFileTime(WithTimestamp(FileTimestamp::kCurrent, 123456), output, output));
  EXPECT_EQ(StatusOf(output).st_mtim.tv_sec, 7000);
}

TEST(OutputFileTimeTest, AnUnreadableInputCountsAsTheStartOfLocal1970) {
  const TimeZoneScope zone("XST-3");
  TempDir dir;
  const std::string output = dir.WriteFile("out.jpg", "y");
  EXPECT_TRUE(SetOutputFileTime(WithTimestamp(FileTimestamp::kOriginal), output, dir / "missing.cr2"));
  EXPECT_EQ(StatusOf(output).st_mtim.tv_sec, -3 * 3600);
}

TEST(OutputFileTimeTest, AMissingOutputIsReportedAsFailure) {
  TempDir dir;
  EXPECT_FALSE(SetOutputFileTime(WithTimestamp(FileTimestamp::kCustom, 1000), dir / "missing.jpg", dir / "x"));
}

TEST(LocalWallClockTest, RoundTripsToTheSecondInSummerAndWinter) {
  const TimeZoneScope zone("CET-1CEST,M3.5.0,M10.5.0/3");
  const std::int32_t values[] = {
      1688212800,  // 2023-07-01 12:00:00 local, summer time (UTC+2)
      1704110400,  // 2024-01-01 12:00:00 local, winter time (UTC+1)
      0,
  };
  const std::int64_t offsets[] = {7200, 3600, 3600};
  for (std::size_t i = 0; i < std::size(values); ++i) {
    SCOPED_TRACE(values[i]);
    const std::time_t moment = MomentOfLocalWallClock(values[i]);
    EXPECT_EQ(moment, values[i] - offsets[i]);
    EXPECT_EQ(LocalWallClockSeconds(moment), values[i]);
  }
}

}  // namespace
}  // namespace lumivane::testing
