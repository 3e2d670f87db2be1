#include "cli/command_line.h"

#include <gtest/gtest.h>

#include "batch/job.h"
#include "settings/settings.h"
#include "support/temp_dir.h"

namespace lumivane::testing {
namespace {

struct Scanned {
  CommandLineScan scan;
  Settings settings;
  JobRecord job;
};

Scanned Scan(const Parameters& parameters) {
  Scanned result;
  ResetSettings(result.settings, true);
  ResetJob(result.job);
  result.scan = ScanParameters(parameters, result.settings, result.job);
  return result;
}

TEST(FirstParameterCommand, OnlyTheFirstParameterCounts) {
  const struct {
    Parameters parameters;
    FirstCommand command;
  } cases[] = {
      {{"-v"}, FirstCommand::kVersion},          {{"--Version"}, FirstCommand::kVersion},
      {{"-h"}, FirstCommand::kHelp},             {{"-?"}, FirstCommand::kHelp},
      {{"--help=anything"}, FirstCommand::kHelp}, {{"-u"}, FirstCommand::kUninstall},
      {{"-T", "folder"}, FirstCommand::kTestRender}, {{"-i", "x", "-v"}, FirstCommand::kNone},
      {{"-vv"}, FirstCommand::kNone},            {{"v"}, FirstCommand::kNone},
  };
  for (const auto& c : cases) EXPECT_EQ(FirstParameterCommand(c.parameters), c.command) << c.parameters[0];
}

TEST(ScanParameters, MainOptionsFillTheJob) {
  const Scanned s = Scan({"-i", "in", "-o", "out", "-c", "JPG", "-d", "-q", "-p"});
  EXPECT_EQ(s.scan.error, std::nullopt);
  EXPECT_EQ(s.job.inputFolder, "in");
  EXPECT_EQ(s.job.outputFolder, "out");
  EXPECT_EQ(s.job.outputFormat, "JPG");  // case is kept; the batch driver refuses it
  EXPECT_EQ(s.job.consoleMode, 1);
  EXPECT_EQ(s.job.debugMarker, "DEBUG");
  EXPECT_TRUE(s.scan.quiet);
  EXPECT_TRUE(s.scan.pause);
}

TEST(ScanParameters, LongFormsTakeTheirValueAfterTheEqualsSign) {
  const Scanned s = Scan({"--input=\"in put\"", "--OUTPUT=out", "--conversion=png"});
  EXPECT_EQ(s.job.inputFolder, "in put");
  EXPECT_EQ(s.job.outputFolder, "out");
  EXPECT_EQ(s.job.outputFormat, "png");
}

TEST(ScanParameters, LastInputWins) {
  EXPECT_EQ(Scan({"-i", "a.raw", "-i", "b.raw"}).job.inputFolder, "b.raw");
}

TEST(ScanParameters, InputFollowedByALongOptionTakesItsValue) {
  const Scanned s = Scan({"-i", "--x=y"});
  EXPECT_EQ(s.scan.error, std::nullopt);
  EXPECT_EQ(s.job.inputFolder, "y");
}

TEST(ScanParameters, QuoteJoinRebuildsAPathSplitAtBlanks) {
  const Scanned s = Scan({"-i", "\"c:\\my", "photos\"", "-q"});
  EXPECT_EQ(s.job.inputFolder, "c:\\my photos");
  EXPECT_TRUE(s.scan.quiet);
}

TEST(ScanParameters, MissingValuesEndTheScan) {
  const Parameters cases[] = {
      {"-i"}, {"-i", "-x"}, {"--input"}, {"--input="}, {"--jpg-quality"}, {"--brightness=--20"},
      {"-c"}, {"-o", ""}, {"--profile"}, {"--profile=--x"},
  };
  for (const Parameters& parameters : cases) {
    EXPECT_EQ(Scan(parameters).scan.error, Message::kIncorrectParameters) << parameters[0];
  }
}

TEST(ScanParameters, FlagsAfterAnErrorHaveNoEffect) {
  const Scanned s = Scan({"-p", "-i", "-x", "-q"});
  EXPECT_TRUE(s.scan.pause);
  EXPECT_FALSE(s.scan.quiet);
}

TEST(ScanParameters, InputIsMarkedBeforeItsValueIsExamined) {
  EXPECT_EQ(Scan({"-i"}).job.consoleMode, 1);
  EXPECT_EQ(Scan({"-q", "photo.raw"}).job.consoleMode, 0);
}

TEST(ScanParameters, AdvancedOptionsApplyInOrderAndASingleMinusIsAValue) {
  const Scanned s = Scan({"--brightness=-20", "--JPG-QUALITY=70", "--jpg-quality=80", "--greyscale=no"});
  EXPECT_EQ(s.scan.error, std::nullopt);
  EXPECT_EQ(s.settings.adjustment.imageBrightness, -20);
  EXPECT_EQ(s.settings.adjustment.doImageColorCorrection, 1);
  EXPECT_EQ(s.settings.output.jpgQuality, 80);
  EXPECT_EQ(s.settings.adjustment.doImageGreyscale, 1);
}

TEST(ScanParameters, TextOptionsQuoteJoin) {
  const Scanned s = Scan({"--wm-text=\"Hello", "big", "world\"", "-q"});
  EXPECT_EQ(s.settings.watermark.text, "Hello big world");
  EXPECT_EQ(s.settings.watermark.doWatermark, WatermarkKind::kText);
  EXPECT_TRUE(s.scan.quiet);
}

TEST(ScanParameters, UnknownOptionsAndStrayParametersAreIgnored) {
  const Scanned s = Scan({"--nonsense=1", "stray", "--", "-v", "-h", "-i", "x"});
  EXPECT_EQ(s.scan.error, std::nullopt);
  EXPECT_EQ(s.job.inputFolder, "x");
}

TEST(ScanParameters, ProfileAppliesAtItsPlaceInTheLine) {
  TempDir dir;
  const std::string profile = dir.WriteFile("p.ini", "[cli]\n--jpg-quality = 80\n");
  EXPECT_EQ(Scan({"--profile=" + profile, "--jpg-quality=70"}).settings.output.jpgQuality, 70);
  EXPECT_EQ(Scan({"--jpg-quality=70", "--profile=" + profile}).settings.output.jpgQuality, 80);
  EXPECT_EQ(Scan({"--profile=" + profile + "x"}).scan.error, Message::kInvalidProfile);
}

TEST(ScanParameters, ProfilePathsQuoteJoin) {
  TempDir dir;
  const std::string profile = dir.WriteFile("my profile.ini", "[CLI]\n--jpg-quality=55\n");
  const std::string folder = dir.path().string();
  const Scanned s = Scan({"--profile=\"" + folder + "/my", "profile.ini\""});
  EXPECT_EQ(s.scan.error, std::nullopt);
  EXPECT_EQ(s.settings.output.jpgQuality, 55);
}

TEST(ScanParameters, FrameOpacityHasItsCommandLineName) {
  EXPECT_EQ(Scan({"--fr-solid-opacity=128"}).settings.frame.solidOpacity, 128);
  EXPECT_EQ(Scan({"--wm-solid-opacity=128"}).settings.frame.solidOpacity, 255);
}

TEST(ScanParameters, RunOptionsAreReadFromTheLine) {
  const Scanned plain = Scan({"-i", "x"});
  EXPECT_EQ(plain.job.runOptions.jobs, 1);
  EXPECT_FALSE(plain.job.runOptions.jobsGiven);
  EXPECT_FALSE(plain.job.runOptions.progress);
  EXPECT_EQ(plain.job.runOptions.reportFile, "");

  const Scanned s = Scan({"-i", "x", "--JOBS=4", "--progress", "--report=\"my", "report.jsonl\"", "-q"});
  EXPECT_EQ(s.scan.error, std::nullopt);
  EXPECT_EQ(s.job.runOptions.jobs, 4);
  EXPECT_TRUE(s.job.runOptions.jobsGiven);
  EXPECT_TRUE(s.job.runOptions.progress);
  EXPECT_EQ(s.job.runOptions.reportFile, "my report.jsonl");
  EXPECT_TRUE(s.scan.quiet);

  EXPECT_EQ(Scan({"--jobs=8", "--jobs=0"}).job.runOptions.jobs, 0);  // last one wins; 0 is one per core
  EXPECT_TRUE(Scan({"--progress=no"}).job.runOptions.progress);      // a flag reads no value
}

TEST(ScanParameters, MalformedRunOptionsEndTheScan) {
  const struct {
    Parameters parameters;
    Message error;
  } cases[] = {
      {{"--jobs"}, Message::kIncorrectParameters},    {{"--jobs="}, Message::kIncorrectParameters},
      {{"--jobs=--2"}, Message::kIncorrectParameters}, {{"--report"}, Message::kIncorrectParameters},
      {{"--report="}, Message::kIncorrectParameters}, {{"--report=\"\""}, Message::kIncorrectParameters},
      {{"--jobs=-1"}, Message::kInvalidJobs},             {{"--jobs=abc"}, Message::kInvalidJobs},
      {{"--jobs=2x"}, Message::kInvalidJobs},             {{"--jobs= 2"}, Message::kInvalidJobs},
      {{"--jobs=+2"}, Message::kInvalidJobs},             {{"--jobs=1025"}, Message::kInvalidJobs},
      {{"--jobs=99999999999"}, Message::kInvalidJobs},    {{"--shard"}, Message::kIncorrectParameters},
      {{"--shard=0/3"}, Message::kInvalidShard},          {{"--shard=4/3"}, Message::kInvalidShard},
      {{"--shard=1/100001"}, Message::kInvalidShard},     {{"--shard=2"}, Message::kInvalidShard},
      {{"--shard=1/ 2"}, Message::kInvalidShard},         {{"--shard=1/2/3"}, Message::kInvalidShard},
  };
  for (const auto& c : cases) {
    const Scanned s = Scan(c.parameters);
    EXPECT_EQ(s.scan.error, c.error) << c.parameters[0];
    EXPECT_EQ(s.job.runOptions.jobs, 1) << c.parameters[0];
  }
  EXPECT_EQ(Scan({"--jobs=1024"}).job.runOptions.jobs, 1024);
  EXPECT_EQ(Scan({"--jobs=0002"}).job.runOptions.jobs, 2);
  const RunOptions share = Scan({"--shard=100000/100000", "--skip-existing", "--dry-run=no"}).job.runOptions;
  EXPECT_EQ(share.shard, 100000);
  EXPECT_EQ(share.shardCount, 100000);
  EXPECT_TRUE(share.skipExisting && share.dryRun);
}

TEST(ScanParameters, RunOptionsAreNotProfileKeys) {
  TempDir dir;
  const std::string profile = dir.WriteFile("p.ini", "[CLI]\n--jobs=4\n--progress\n--report=r.jsonl\n");
  const Scanned s = Scan({"--profile=" + profile});
  EXPECT_EQ(s.scan.error, std::nullopt);
  EXPECT_EQ(s.job.runOptions.jobs, 1);
  EXPECT_FALSE(s.job.runOptions.progress);
  EXPECT_EQ(s.job.runOptions.reportFile, "");
}

}  // namespace
}  // namespace lumivane::testing
