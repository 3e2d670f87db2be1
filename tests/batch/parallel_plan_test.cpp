#include "batch/parallel_plan.h"

#include <gtest/gtest.h>

namespace lumivane::testing {
namespace {

TEST(ResolveJobCount, ZeroMeansOnePerCore) {
  EXPECT_EQ(ResolveJobCount(1, 8), 1);
  EXPECT_EQ(ResolveJobCount(4, 2), 4);  // more jobs than cores is allowed
  EXPECT_EQ(ResolveJobCount(0, 8), 8);
  EXPECT_EQ(ResolveJobCount(0, 0), 1);  // core count unknown
  EXPECT_GE(ResolveJobCount(0), 1);
}

struct WatermarkCase {
  WatermarkKind doWatermark;
  const char* text;
  bool automaticDepth;
  const char* reason;
};

const WatermarkCase kWatermarkCases[] = {
    {WatermarkKind::kNone, "%n%", false, ""},  // no watermark: the text is not drawn
    {WatermarkKind::kImage, "%n%", false, ""},  // a picture watermark has no tokens
    {WatermarkKind::kText, "(c) 2026", true, ""},
    {WatermarkKind::kText, "No. %n%", false, "the watermark text uses %n%"},
    {WatermarkKind::kText, "No. %N%", false, "the watermark text uses %n%"},
    {WatermarkKind::kText, "%RND%", false, "the watermark text uses %rnd%"},
    {WatermarkKind::kText, "%bpp% bits", false, ""},  // a fixed depth is known before the file
    {WatermarkKind::kText, "%bpp% bits", true, "the watermark text uses %bpp% with automatic bit depth"},
    {WatermarkKind::kText, "%width% x %height% %filename%", true, ""},
    {WatermarkKind::kText, "%n", false, ""},
};

TEST(OneFileAtATimeReason, OnlyTokensThatCarryOverFromEarlierFiles) {
  for (const WatermarkCase& c : kWatermarkCases) {
    Settings settings;
    ResetSettings(settings, true);
    settings.watermark.doWatermark = c.doWatermark;
    settings.watermark.text = c.text;
    EXPECT_EQ(OneFileAtATimeReason(settings, c.automaticDepth), c.reason) << c.text << " " << CodeOf(c.doWatermark);
  }
}

TEST(JobsListingLine, NamesTheCountAndWhyFilesGoOneAtATime) {
  EXPECT_EQ(JobsListingLine(4, ""), "Jobs: 4");
  EXPECT_EQ(JobsListingLine(2, "the watermark text uses %n%"),
            "Jobs: 2 (one file at a time: the watermark text uses %n%)");
}

}  // namespace
}  // namespace lumivane::testing
