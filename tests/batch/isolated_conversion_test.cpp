// A file converted with its library part in a worker gives the same record and the same output file as one
// converted in-process; a worker that cannot finish fails only its file.
#include "batch/isolated_conversion.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <thread>

#include "batch/job.h"
#include "batch/output_naming.h"
#include "dng/dng_writer.h"
#include "pipeline/convert_image_file.h"
#include "pipeline/edit_steps.h"
#include "pipeline/encoder_setup.h"
#include "platform/drawing_font.h"
#include "support/temp_dir.h"

namespace lumivane::testing {
namespace {

// A variable set for the scope of the object and restored afterwards.
class EnvironmentScope {
 public:
  EnvironmentScope(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) previous_ = old;
    ::setenv(name, value, 1);
  }
  ~EnvironmentScope() {
    if (previous_) {
      ::setenv(name_, previous_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }
  EnvironmentScope(const EnvironmentScope&) = delete;
  EnvironmentScope& operator=(const EnvironmentScope&) = delete;

 private:
  const char* name_;
  std::optional<std::string> previous_;
};

BatchPlan PlanFor(const std::string& outputFolder, const std::string& format) {
  BatchPlan plan;
  ResetSettings(plan.settings, true);
  plan.settings.advanced.filenameMask = "%filename%-%bpp%-%width%x%height%-%n%.%ext%";
  plan.outputFolder = outputFolder;
  plan.outputFormat = format;
  return plan;
}

// The file as the conversion pass hands it over, as the seventh file of its batch.
FileToConvert FileOf(const std::string& input) {
  FileToConvert file;
  file.inputFile = input;
  file.numbering = FirstFileNumbering();
  file.numbering.fileCounter = 7;
  return file;
}

constexpr IsolationOptions kIsolated{.inProcess = false, .timeLimit = std::chrono::seconds(60)};

struct Committed {
  ConvertedFile converted;
  std::string outputFile;  // "" when the file failed before its commit
};

// The file converted by worker (whose plan it is) and written through CommitConvertedFile, as the conversion pass
// does.
Committed ConvertAndCommit(ContentWorker& worker, const BatchPlan& plan, const ProtectedInputs& inputs,
                           const FileToConvert& file) {
  Committed result{worker.Convert(file), ""};
  if (result.converted.Converted()) {
    result.outputFile = CommitConvertedFile(plan, inputs, file, file.numbering, result.converted);
  }
  return result;
}

// The workers are fresh processes of this test program (tests/unit_main.cpp), which serves content requests as the
// shipped program does.
TEST(IsolatedConversion, GivesTheSameRecordAndFileAsInProcess) {
  InitialiseEncoders();
  const TempDir dir;
  const std::string input = dir / "in/shot.dng";
  std::filesystem::create_directories(dir / "in");
  ASSERT_TRUE(WriteDngFile(input, DngContent{.width = 96, .height = 64, .seed = 3}));
  const std::vector<std::string> formats = {"png", "jpg", "psd", "bmp"};
  std::vector<Committed> isolated;
  for (const std::string& format : formats) {
    std::filesystem::create_directories(dir / ("iso-" + format));
    const BatchPlan plan = PlanFor(dir / ("iso-" + format) + "/", format);
    ContentWorker worker(plan, nullptr, kIsolated);
    const Committed result = ConvertAndCommit(worker, plan, ProtectedInputs(), FileOf(input));
    EXPECT_TRUE(result.converted.Converted()) << format << ": " << result.converted.detail;
    EXPECT_EQ(worker.WorkersStarted(), 1) << format;
    isolated.push_back(result);
  }
  for (std::size_t i = 0; i < formats.size(); ++i) {
    const std::string& format = formats[i];
    std::filesystem::create_directories(dir / ("own-" + format));
    const BatchPlan plan = PlanFor(dir / ("own-" + format) + "/", format);
    const FileToConvert file = FileOf(input);
    ConvertedFile own = ConvertImageContent(plan, file, nullptr);
    ASSERT_TRUE(own.Converted()) << format;
    const std::string ownOutput = CommitConvertedFile(plan, ProtectedInputs(), file, file.numbering, own);
    ASSERT_TRUE(own.Converted()) << format;
    const ConvertedFile& converted = isolated[i].converted;
    const std::string expectedName = "shot-" + std::to_string(own.outputBitDepth) + "-" +
                                     std::to_string(own.imageWidth) + "x" + std::to_string(own.imageHeight) +
                                     "-00007." + format;
    EXPECT_EQ(std::filesystem::path(isolated[i].outputFile).filename().string(), expectedName)
        << "the name reads the depth and size the worker found";
    EXPECT_GT(own.imageWidth, 0) << format;
    EXPECT_EQ(converted.sourceBitDepth, own.sourceBitDepth) << format;
    EXPECT_EQ(converted.outputBitDepth, own.outputBitDepth) << format;
    EXPECT_EQ(converted.imageWidth, own.imageWidth) << format;
    EXPECT_EQ(converted.imageHeight, own.imageHeight) << format;
    EXPECT_EQ(ReadFileBytes(isolated[i].outputFile), ReadFileBytes(ownOutput)) << format;
  }
}

// One worker process serves file after file, and each file's watermark sees the batch's numbering as it is when
// the file is handed over, not as it was when the worker started.
TEST(IsolatedConversion, OneWorkerServesEveryFileWithTheNumberingOfItsTime) {
  InitialiseEncoders();
  const TempDir dir;
  std::filesystem::create_directories(dir / "in");
  const std::string input = dir / "in/shot.dng";
  ASSERT_TRUE(WriteDngFile(input, DngContent{.width = 160, .height = 120, .seed = 5}));
  BatchPlan plan = PlanFor(dir / "out/", "png");
  plan.settings.watermark.doWatermark = WatermarkKind::kText;
  plan.settings.watermark.text = "No %n%";
  plan.settings.watermark.fontSize = 24;
  const DrawingFont font = LoadWatermarkFont(plan.settings);  // the worker makes the same font of the settings
  ASSERT_TRUE(font.IsFont());
  std::vector<std::vector<unsigned char>> isolated;
  {
    ContentWorker worker(plan, &font, kIsolated);
    for (const std::int32_t counter : {1, 2, 1}) {
      FileToConvert file = FileOf(input);
      file.numbering.fileCounter = counter;
      const ConvertedFile converted = worker.Convert(file);
      ASSERT_TRUE(converted.Converted()) << converted.detail;
      isolated.push_back(converted.encoded);
    }
    EXPECT_EQ(worker.WorkersStarted(), 1);
  }
  EXPECT_NE(isolated[0], isolated[1]) << "the watermark shows the counter";
  EXPECT_EQ(isolated[0], isolated[2]) << "the same counter gives the same file";
  for (const std::int32_t counter : {1, 2}) {
    FileToConvert file = FileOf(input);
    file.numbering.fileCounter = counter;
    const ConvertedFile own = ConvertImageContent(plan, file, &font);
    ASSERT_TRUE(own.Converted());
    EXPECT_EQ(own.encoded, isolated[static_cast<std::size_t>(counter - 1)]) << counter;
  }
}

TEST(IsolatedConversion, AFileThatFailsInTheWorkerKeepsItsReasonAndWritesNothing) {
  const TempDir dir;
  const std::string input = dir.WriteFile("in/text.dng", "plain text, not a camera file");
  std::filesystem::create_directories(dir / "out");
  const BatchPlan plan = PlanFor(dir / "out/", "png");
  ContentWorker worker(plan, nullptr, kIsolated);
  const Committed failed = ConvertAndCommit(worker, plan, ProtectedInputs(), FileOf(input));
  EXPECT_FALSE(failed.converted.Converted());
  EXPECT_EQ(failed.converted.failure, ConversionFailure::kUndecodable);
  EXPECT_TRUE(std::filesystem::is_empty(dir / "out"));

  // The next file gets a fresh worker: the failed file may have left the last one damaged.
  const FileToConvert good = FileOf(dir / "in/good.dng");
  ASSERT_TRUE(WriteDngFile(good.inputFile, DngContent{}));
  const Committed converted = ConvertAndCommit(worker, plan, ProtectedInputs(), good);
  EXPECT_TRUE(converted.converted.Converted()) << converted.converted.detail;
  EXPECT_EQ(worker.WorkersStarted(), 2);
}

TEST(IsolatedConversion, TheOutputStillNeverReplacesAnInput) {
  const TempDir dir;
  const std::string input = dir / "shot.png";
  ASSERT_TRUE(WriteDngFile(input, DngContent{}));  // named like the output it would get
  const std::string before = ReadFileBytes(input);
  BatchPlan plan = PlanFor(dir.path().string() + "/", "png");
  plan.settings.advanced.filenameMask = "";
  ProtectedInputs inputs;
  inputs.Add(input);
  ContentWorker worker(plan, nullptr, kIsolated);
  const Committed result = ConvertAndCommit(worker, plan, inputs, FileOf(input));
  EXPECT_FALSE(result.converted.Converted());
  EXPECT_EQ(result.converted.failure, ConversionFailure::kWouldReplaceInput);
  EXPECT_EQ(ReadFileBytes(input), before);
}

// Each thread converts in a worker of its own, started with the pool; the files of several threads do not mix.
TEST(IsolatedConversion, APoolGivesEachThreadAWorkerOfItsOwn) {
  const TempDir dir;
  std::filesystem::create_directories(dir / "in");
  std::vector<std::string> inputs;
  for (unsigned seed = 0; seed < 6; ++seed) {
    inputs.push_back(dir / ("in/shot" + std::to_string(seed) + ".dng"));
    ASSERT_TRUE(WriteDngFile(inputs.back(), DngContent{.width = 40 + 8 * seed, .height = 32, .seed = seed + 1}));
  }
  const BatchPlan plan = PlanFor(dir / "out/", "png");
  std::vector<int> expectedWidths;
  {
    ContentWorkerPool pool(plan, nullptr, kIsolated, 1);
    for (const std::string& input : inputs) {
      const ConvertedFile converted = pool.Convert(FileOf(input));
      EXPECT_TRUE(converted.Converted()) << input;
      expectedWidths.push_back(converted.imageWidth);
    }
    EXPECT_EQ(pool.WorkersStarted(), 1) << "one thread needs one worker";
  }
  ContentWorkerPool pool(plan, nullptr, kIsolated, 3);
  EXPECT_EQ(pool.WorkersStarted(), 3) << "the workers start before the threads";
  std::vector<int> widths(inputs.size(), 0);
  std::vector<std::thread> threads;
  for (std::size_t t = 0; t < 3; ++t) {
    threads.emplace_back([&, t] {
      for (std::size_t i = t; i < inputs.size(); i += 3) {
        const ConvertedFile converted = pool.Convert(FileOf(inputs[i]));
        if (converted.Converted() && !converted.encoded.empty()) widths[i] = converted.imageWidth;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(widths, expectedWidths);
  EXPECT_NE(expectedWidths.front(), expectedWidths.back()) << "the files differ in size";
  EXPECT_EQ(pool.WorkersStarted(), 3);
}

TEST(IsolatedConversion, TheEnvironmentCanOnlyShortenTheTimeLimit) {
  struct Case {
    const char* inProcess;
    const char* limit;
    bool expectedInProcess;
    std::chrono::milliseconds expectedLimit;
  };
  const Case cases[] = {
      {"", "", false, kWorkerTimeLimit},
      {"1", "250", true, std::chrono::milliseconds(250)},
      {"0", "99999999999", false, kWorkerTimeLimit},
      {"yes", "-5", false, kWorkerTimeLimit},
      {"1", "12x", true, kWorkerTimeLimit},
  };
  for (const Case& c : cases) {
    const EnvironmentScope inProcess(kInProcessVariable, c.inProcess);
    const EnvironmentScope limit(kTimeLimitVariable, c.limit);
    const IsolationOptions options = IsolationOptionsFromEnvironment();
    EXPECT_EQ(options.inProcess, c.expectedInProcess) << c.inProcess << " " << c.limit;
    EXPECT_EQ(options.timeLimit, c.expectedLimit) << c.inProcess << " " << c.limit;
  }
}

}  // namespace
}  // namespace lumivane::testing
