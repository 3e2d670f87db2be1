#include "batch/run_batch.h"

#include <FreeImage.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <ctime>
#include <filesystem>

#include "batch/batch_run_fixture.h"
#include "batch/batch_test_helpers.h"
#include "formats/signature.h"

namespace lumivane::testing {
namespace {

using Lines = std::vector<std::string>;

bool Contains(const Lines& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The last line, or "" when nothing was printed.
std::string LastLine(const Lines& lines) { return lines.empty() ? std::string() : lines.back(); }

// The input paths in conversion order.
Lines ConversionOrder() {
  Lines paths;
  for (const CollectedFile* file : gCollectedFiles.InOrder()) paths.push_back(file->path);
  return paths;
}

TEST_F(BatchRunTest, AnEmptyFolderPrintsFiveLinesAndCollectsNothing) {
  const BatchRun run = Run();
  EXPECT_EQ(run.lines, (Lines{"Preparing...", "Importing...", "Import complete, new files added: 0",
                              "Conversion stopped",
                              "No input file(s) found. Please, add valid file(s) and try again!"}));
  EXPECT_EQ(run.outcome, BatchOutcome::kNothingCollected);

  const BatchRun quiet = Run(true);
  EXPECT_EQ(quiet.lines, (Lines{"Conversion stopped",
                                "No input file(s) found. Please, add valid file(s) and try again!"}));
}

TEST_F(BatchRunTest, ACapitalConversionTypeIsRefusedBeforeAnyFileIsTouched) {
  AddPhoto("a.dng");
  gJob.outputFormat = "JPG";
  gJob.debugMarker = "DEBUG";
  const std::string input = gJob.inputFolder;
  const BatchRun run = Run();
  EXPECT_EQ(run.lines, (Lines{"Preparing...", "Input: " + input, "Output: " + Output(), "Conversion: JPG"}));
  EXPECT_EQ(run.error, "Invalid conversion type");
  EXPECT_EQ(run.outcome, BatchOutcome::kInvalidSettings);
  EXPECT_TRUE(OutputFiles().empty());
  EXPECT_EQ(gCollectedFiles.Size(), 0u);
}

// The run prints nothing of its own before a refusal in quiet mode, and hands the message of its "Error: " line to
// the command line, which prints it in quiet mode too.
TEST_F(BatchRunTest, RefusalsGiveTheirErrorMessageInQuietModeToo) {
  const struct {
    void (*change)();
    const char* error;
  } cases[] = {
      {[] { gJob.inputFolder = "../in"; }, "Incorrect input folder"},
      {[] { gJob.inputFolder = "/nonexistent/photos"; }, "Invalid input folder"},
      {[] { gJob.inputFolder = "/nonexistent/a.dng"; }, "Invalid input file"},
      {[] { gJob.outputFolder = "..out"; }, "Incorrect output folder"},
      {[] { gJob.outputFolder = "/nonexistent/out"; }, "Invalid output folder"},
      {[] { gJob.outputFormat = "jpeg"; }, "Invalid conversion type"},
      {[] { gSettings.output.bmpBpp = 7; }, "Invalid bmp-bpp value"},
      {[] {
         gSettings.adjustment.doImageColorCorrection = 1;
         gSettings.adjustment.imageGamma = 10.0f;
       },
       "Invalid gamma value"},
      {[] {
         gSettings.watermark.doWatermark = WatermarkKind::kText;
         gSettings.watermark.fontSize = 0;
       },
       "Invalid watermark font"},
  };
  AddPhoto("a.dng");
  const Settings defaults = gSettings;
  const JobRecord job = gJob;
  for (const auto& c : cases) {
    c.change();
    const BatchRun run = Run(true);
    EXPECT_EQ(run.lines, Lines{}) << c.error;
    EXPECT_EQ(run.error, c.error);
    EXPECT_EQ(run.outcome, BatchOutcome::kInvalidSettings) << c.error;
    gSettings = defaults;
    gJob = job;
  }
  EXPECT_TRUE(OutputFiles().empty());
}

TEST_F(BatchRunTest, ADebugRunLogsEachFileAndCountsTheFailure) {
  AddPhoto("good.dng");
  AddUnreadable("bad.dng");
  gJob.outputFormat = "jpg";
  gJob.debugMarker = "DEBUG";
  const BatchRun run = Run();
  const Lines order = ConversionOrder();
  ASSERT_EQ(order.size(), 2u);
  Lines expected = {"Converting..."};
  for (const std::string& path : order) {
    expected.push_back("Processing: " + path);
    expected.push_back("File Format: " + IdentifySignature(path));
    expected.push_back(path.ends_with("good.dng") ? "[OK] Saving As: " + Output() + "good.jpg"
                                                  : "[ERROR] Unable to convert the file!");
  }
  expected.push_back("Conversion complete");
  expected.push_back("Files converted: 1 of 2");
  const auto converting = std::find(run.lines.begin(), run.lines.end(), "Converting...");
  EXPECT_EQ(Lines(converting, run.lines.end()), expected);
  EXPECT_EQ(run.outcome, BatchOutcome::kSomeFailed);
  EXPECT_EQ(OutputFiles(), Lines{"good.jpg"});
}

TEST_F(BatchRunTest, WithoutDebugModeNoFileIsLogged) {
  AddPhoto("good.dng");
  AddUnreadable("bad.dng");
  const BatchRun run = Run();
  EXPECT_EQ(run.lines, (Lines{"Preparing...", "Importing...", "Import complete, new files added: 2", "Converting...",
                              "Conversion complete", "Files converted: 1 of 2"}));
}

TEST_F(BatchRunTest, QuietRunsPrintNothingOnSuccessAndOnlyTheStopWhenEveryFileFails) {
  AddPhoto("good.dng");
  const BatchRun success = Run(true);
  EXPECT_EQ(success.lines, Lines{});
  EXPECT_EQ(success.outcome, BatchOutcome::kAllConverted);
  EXPECT_EQ(OutputFiles(), Lines{"good.bmp"});  // no conversion type: bmp

  std::filesystem::remove(Input() + "good.dng");
  AddUnreadable("bad.dng");
  const BatchRun failure = Run(true);
  EXPECT_EQ(failure.lines, Lines{"Conversion stopped"});
  EXPECT_EQ(failure.outcome, BatchOutcome::kSomeFailed);

  const BatchRun loud = Run(false);
  EXPECT_EQ(LastLine(loud.lines), "Conversion stopped");
  EXPECT_FALSE(Contains(loud.lines, "Conversion complete"));
}

TEST_F(BatchRunTest, DebugModeListsAndLogsInQuietModeToo) {
  const std::string photo = AddPhoto("a.dng");
  gJob.debugMarker = "DEBUG";
  const BatchRun run = Run(true);
  ASSERT_FALSE(run.lines.empty());
  EXPECT_EQ(run.lines.front(), "Input: " + Input());
  EXPECT_TRUE(Contains(run.lines, "BMP BPP: 0"));
  EXPECT_TRUE(Contains(run.lines, "Processing: " + photo));
  EXPECT_EQ(LastLine(run.lines), "[OK] Saving As: " + Output() + "a.bmp");
  for (const char* status : {"Preparing...", "Importing...", "Converting...", "Conversion complete"}) {
    EXPECT_FALSE(Contains(run.lines, status)) << status;
  }
}

// Bytes no decoder reads become headerless pixels only when their width and height are given.
TEST_F(BatchRunTest, HeaderlessPixelsAreTheLastResortOnlyWithAGivenGeometry) {
  dir_.WriteFile("in/plain.dng", std::string(200, '\x7f'));
  gSettings.advanced.filenameMask = "%filename%-%width%x%height%-%bpp%.%ext%";
  EXPECT_EQ(Run().outcome, BatchOutcome::kSomeFailed);
  EXPECT_EQ(OutputFiles(), Lines{});

  gSettings.input.rawImageWidth = 10;
  gSettings.input.rawImageHeight = 10;
  EXPECT_EQ(Run().outcome, BatchOutcome::kAllConverted);
  EXPECT_EQ(OutputFiles(), Lines{"plain-10x10-16.bmp"});
}

TEST_F(BatchRunTest, AFailedFileDoesNotUseUpACounterNumber) {
  // Three names in conversion order; the middle one is made unreadable.
  CollectedFileList probe;
  for (const char* name : {"p.dng", "q.dng", "r.dng"}) probe.Add(Input() + name, "");
  const std::vector<const CollectedFile*> order = probe.InOrder();
  const std::string first = order[0]->path, middle = order[1]->path, last = order[2]->path;
  const auto name = [&](const std::string& path) { return path.substr(Input().size()); };
  AddPhoto(name(first));
  AddUnreadable(name(middle));
  AddPhoto(name(last));
  gJob.outputFormat = "jpg";
  gJob.debugMarker = "DEBUG";
  gSettings.advanced.filenameMask = "%n%-%FILENAME%.%ext%";
  const BatchRun run = Run();
  ASSERT_EQ(ConversionOrder(), (Lines{first, middle, last}));
  const std::string firstBase = name(first).substr(0, 1), lastBase = name(last).substr(0, 1);
  EXPECT_EQ(OutputFiles(), (Lines{"00001-" + firstBase + ".jpg", "00002-" + lastBase + ".jpg"}));
  EXPECT_TRUE(Contains(run.lines, "[OK] Saving As: " + Output() + "00002-" + lastBase + ".jpg"));
}

TEST_F(BatchRunTest, KeptSubfoldersAreCreatedEvenForAFileThatFails) {
  AddPhoto("day1/raw/a.dng");
  AddUnreadable("day2/deep/bad.dng");
  const BatchRun run = Run();
  EXPECT_EQ(LastLine(run.lines), "Files converted: 1 of 2");
  EXPECT_EQ(OutputFiles(), Lines{"day1/raw/a.bmp"});
  EXPECT_TRUE(std::filesystem::is_directory(Output() + "day2/deep"));

  gSettings.advanced.keepSubfolders = 0;
  std::filesystem::remove_all(Output() + "day1");
  Run();
  EXPECT_EQ(OutputFiles(), Lines{"a.bmp"});
}

std::time_t ModificationTime(const std::string& path) {
  struct stat status {};
  EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
  return status.st_mtim.tv_sec;
}

TEST_F(BatchRunTest, FileTimestampSetsTheOutputsTime) {
  const std::string input = AddPhoto("a.dng");
  timespec times[2]{};
  times[0].tv_nsec = UTIME_OMIT;
  times[1].tv_sec = 981173106;  // 2001-02-03, with a fraction of a second that is not copied
  times[1].tv_nsec = 700000000;
  ASSERT_EQ(::utimensat(AT_FDCWD, input.c_str(), times, 0), 0);
  const std::string output = Output() + "a.bmp";

  gSettings.advanced.fileTimestamp = FileTimestamp::kOriginal;
  Run();
  EXPECT_EQ(ModificationTime(output), 981173106);

  gSettings.advanced.fileTimestamp = FileTimestamp::kCurrent;  // the time of writing
  const std::time_t before = std::time(nullptr);
  Run();
  EXPECT_GE(ModificationTime(output), before);

  gSettings.advanced.fileTimestamp = FileTimestamp::kCustom;  // counted on the local wall clock
  gSettings.advanced.customTimestamp = 1000000000;
  {
    TimeZoneScope utc("UTC");
    Run();
    EXPECT_EQ(ModificationTime(output), 1000000000);
  }
}

TEST_F(BatchRunTest, IconsAreLimitedTo128By128) {
  AddPhoto("large.dng", 200, 150);
  gJob.outputFormat = "ico";
  gSettings.advanced.filenameMask = "%filename%-%width%x%height%.%ext%";
  const BatchRun run = Run();
  ASSERT_EQ(OutputFiles(), Lines{"large-128x128.ico"});
  FIBITMAP* icon = FreeImage_Load(FIF_ICO, (Output() + "large-128x128.ico").c_str(), 0);
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(FreeImage_GetWidth(icon), 128u);
  EXPECT_EQ(FreeImage_GetHeight(icon), 128u);
  FreeImage_Unload(icon);
}

TEST_F(BatchRunTest, ASmallNonSquareIconFailsCleanly) {
  AddPhoto("small.dng", 64, 48);  // left alone by the limit; the icon encoder wants a square
  gJob.outputFormat = "ico";
  const BatchRun run = Run();
  EXPECT_EQ(run.outcome, BatchOutcome::kSomeFailed);
  EXPECT_EQ(OutputFiles(), Lines{});
}

TEST_F(BatchRunTest, LinearFortyEightBitDataStaysFortyEightBitInTiff) {
  AddPhoto("a.dng");
  gJob.outputFormat = "tiff";
  gSettings.input.rawLoadAs = RawLoadAs::k48;
  gSettings.input.rawToneMapping = ToneMapping::kNone;
  gSettings.advanced.filenameMask = "%filename%-%bpp%.%ext%";
  const BatchRun run = Run();
  ASSERT_EQ(OutputFiles(), Lines{"a-48.tiff"});
  FIBITMAP* image = FreeImage_Load(FIF_TIFF, (Output() + "a-48.tiff").c_str(), 0);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(FreeImage_GetBPP(image), 48u);
  EXPECT_EQ(FreeImage_GetImageType(image), FIT_RGB16);
  FreeImage_Unload(image);

  // Tone-mapped data is 24-bit, but an automatic depth follows the decoded depth: a fixed one gives 24 bits.
  gSettings.input.rawToneMapping = ToneMapping::kDrago;
  gSettings.output.tiffBpp = 24;
  std::filesystem::remove(Output() + "a-48.tiff");
  Run();
  EXPECT_EQ(OutputFiles(), Lines{"a-24.tiff"});
}

// An output that would replace an input fails that file and leaves the input as it was, whether the output names
// it by the same path, through a symbolic link or through a hard link.
TEST_F(BatchRunTest, AnOutputNamingAnInputFailsAndTheInputStaysByteIdentical) {
  const std::string input = AddPhoto("a.dng");
  const std::string before = ReadFileBytes(input);
  const struct {
    const char* name;
    void (*prepare)(const std::string& input, const std::string& output);
    const char* mask;
    bool sameFolder;
  } cases[] = {
      {"same path", [](const std::string&, const std::string&) {}, "%filename%.dng", true},
      {"symbolic link",
       [](const std::string& in, const std::string& out) { std::filesystem::create_symlink(in, out + "a.bmp"); },
       "%filename%.%ext%", false},
      {"hard link",
       [](const std::string& in, const std::string& out) { std::filesystem::create_hard_link(in, out + "a.bmp"); },
       "%filename%.%ext%", false},
  };
  for (const auto& c : cases) {
    std::filesystem::remove_all(Output());
    std::filesystem::create_directories(Output());
    c.prepare(input, Output());
    gJob.outputFolder = c.sameFolder ? Input() : Output();
    gSettings.advanced.filenameMask = c.mask;
    const BatchRun run = Run();
    EXPECT_EQ(run.outcome, BatchOutcome::kSomeFailed) << c.name;
    EXPECT_EQ(LastLine(run.lines), "Conversion stopped") << c.name;
    EXPECT_EQ(ReadFileBytes(input), before) << c.name;
    // Nothing else was left behind: no temporary file beside the input or in the output folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Input()), {}), 1) << c.name;
    if (!c.sameFolder) {
      EXPECT_TRUE(std::filesystem::equivalent(Output() + "a.bmp", input)) << c.name;
      EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Output()), {}), 1) << c.name;
    }
  }
}

TEST_F(BatchRunTest, ASingleInputFileWritesBesideItself) {
  const std::string input = AddPhoto("single.dng");
  gJob.inputFolder = input;  // the raw value of the input option
  gJob.outputFolder.clear();
  const BatchRun run = Run();
  EXPECT_EQ(run.outcome, BatchOutcome::kAllConverted);
  EXPECT_TRUE(std::filesystem::exists(Input() + "single.bmp"));
  EXPECT_EQ(gJob.inputFile, input);
  EXPECT_EQ(gJob.outputFolder, Input());
}

// "--skip-existing" and "--shard" need every output name before decoding and apart from the rest of the batch; a
// dry run without them shows such tokens, or leaves those of the picture as written.
TEST_F(BatchRunTest, NamesOfTheRunOrThePictureAreRefusedToSkipsAndShardsAndLeftInByADryRun) {
  const std::string photo = AddPhoto("a.dng");
  gJob.outputFormat = "jpg";
  gSettings.output.jpgBpp = 24;  // a fixed depth is known before decoding
  const char* const mask = "Invalid filename mask";
  const char* const text = "Invalid watermark text";
  const struct {
    const char* mask;
    const char* watermarkText;  // none when empty
    const char* error;
  } cases[] = {{"%filename%_%frame%_%bpp%", "%filename%", ""},
               {"%Width%", "", mask},
               {"%n%", "", mask},
               {"%ss%", "", mask},
               {"%filename%", "No. %rnd%", text},
               {"%filename%", "%yyyy%", text}};
  for (const auto& c : cases) {
    gSettings.advanced.filenameMask = c.mask;
    gSettings.watermark.text = c.watermarkText;
    gSettings.watermark.doWatermark = *c.watermarkText != '\0' ? WatermarkKind::kText : WatermarkKind::kNone;
    for (const RunOptions& options :
         {RunOptions{.skipExisting = true, .dryRun = true}, RunOptions{.dryRun = true, .shard = 1, .shardCount = 1}}) {
      gJob.runOptions = options;
      EXPECT_EQ(Run(true).error, c.error) << c.mask << " " << c.watermarkText;
    }
  }
  gSettings.advanced.filenameMask = "%bpp%";
  gSettings.output.jpgBpp = 0;
  EXPECT_EQ(Run(true).error, mask);  // an automatic depth is the decoded picture's
  gJob.runOptions = RunOptions{.dryRun = true};
  gSettings.advanced.filenameMask = "%filename%_%width%_%bpp%_%n%.%ext%";
  EXPECT_EQ(Run(true).lines, Lines{"[DRY RUN] " + photo + " -> " + Output() + "a_%width%_%bpp%_00001.jpg"});
  EXPECT_TRUE(OutputFiles().empty());
  // The listing shows the options given right after "Keep Subfolders: ", in this order.
  gJob.debugMarker = "DEBUG";
  gJob.runOptions = {.jobs = 2, .jobsGiven = true, .skipExisting = true, .dryRun = true, .shard = 1, .shardCount = 1};
  const Lines lines = Run(true).lines;
  const auto keep = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
    return line.starts_with("Keep Subfolders: ");
  });
  ASSERT_GE(std::distance(keep, lines.end()), 5);
  EXPECT_EQ(Lines(keep + 1, keep + 5), (Lines{"Jobs: 2", "Skip Existing: 1", "Dry Run: 1", "Shard: 1/1"}));
}

}  // namespace
}  // namespace lumivane::testing
