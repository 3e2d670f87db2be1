#include "platform/progress_line.h"

#include <gtest/gtest.h>

namespace lumivane::testing {
namespace {

TEST(RenderProgressLine, DoneOfTotalRateAndTimeLeft) {
  const struct {
    std::int32_t done;
    std::int32_t total;
    std::int64_t elapsedMs;
    const char* line;
  } cases[] = {
      {0, 340, 0, "0/340 files"},
      {0, 340, 5000, "0/340 files"},  // no rate before a file is done
      {3, 340, 0, "3/340 files"},     // nor without time
      {10, 40, 5000, "10/40 files, 2.0 files/s, 0:15 left"},
      {12, 340, 3529, "12/340 files, 3.4 files/s, 1:37 left"},  // 96.45 s rounded up
      {1, 3601, 1000, "1/3601 files, 1.0 files/s, 1:00:00 left"},
      {300, 1000, 10000, "300/1000 files, 30 files/s, 0:24 left"},  // 23.3 s rounded up
      {1, 2, 60000, "1/2 files, 0.0 files/s, 1:00 left"},
      {5, 5, 2500, "5/5 files, 2.0 files/s, 0:00 left"},
  };
  for (const auto& c : cases) EXPECT_EQ(RenderProgressLine(c.done, c.total, c.elapsedMs), c.line) << c.line;
}

TEST(FormatDuration, MinutesAndSecondsThenHours) {
  EXPECT_EQ(FormatDuration(0), "0:00");
  EXPECT_EQ(FormatDuration(7), "0:07");
  EXPECT_EQ(FormatDuration(725), "12:05");
  EXPECT_EQ(FormatDuration(3723), "1:02:03");
  EXPECT_EQ(FormatDuration(100 * 3600), "100:00:00");
  EXPECT_EQ(FormatDuration(-5), "0:00");
}

}  // namespace
}  // namespace lumivane::testing
