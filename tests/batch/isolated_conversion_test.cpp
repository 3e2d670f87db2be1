// A file converted with its library part in a worker gives the same record and the same output file as one
// converted in-process; a worker that cannot finish fails only its file.
#include "batch/isolated_conversion.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <thread>

#include "batch/bit_depth_settings.h"
#include "formats/registry.h"
#include "pipeline/convert_image_file.h"
#include "pipeline/encoder_setup.h"
#include "pipeline/save_flags.h"
#include "platform/drawing_font.h"
#include "dng/dng_writer.h"
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

struct Batch {
  Settings settings;
  JobRecord job;
};

Batch BatchFor(const std::string& outputFolder, const std::string& format) {
  Batch batch;
  ResetSettings(batch.settings, true);
  batch.settings.advanced.filenameMask = "%filename%-%bpp%-%width%x%height%-%n%.%ext%";
  ResetJob(batch.job);
  batch.job.outputFolder = outputFolder;
  batch.job.outputFormat = format;
  batch.job.encoderTypeId = FindOutputFormat(format)->encoderTypeId;
  batch.job.outputBitDepth = BitDepthSettingValue(batch.settings, format);
  batch.job.automaticBitDepth = batch.job.outputBitDepth == 0 ? 1 : 0;
  batch.job.saveFlags = ComputeSaveFlags(batch.settings, format);
  batch.job.fileCounter = 7;
  return batch;
}

constexpr IsolationOptions kIsolated{.inProcess = false, .timeLimit = std::chrono::seconds(60)};

// The file converted by worker (whose batch it is) and written through CommitImageFile, as the conversion pass does.
bool ConvertAndCommit(ContentWorker& worker, const Batch& batch, const ProtectedInputs& inputs, FileConversion& file) {
  std::vector<unsigned char> encoded;
  return worker.Convert(file, encoded) && CommitImageFile(batch.settings, batch.job, inputs, file, encoded);
}

// Workers first: once LibRaw has decoded in this process its OpenMP threads would be missing in later children
// (see isolated_conversion.h). ctest runs each test in a process of its own; the short limit keeps a run of the
// whole binary, where earlier tests decode in-process, from waiting ten minutes.
TEST(IsolatedConversion, GivesTheSameRecordAndFileAsInProcess) {
  InitialiseEncoders();
  const TempDir dir;
  const std::string input = dir / "in/shot.dng";
  std::filesystem::create_directories(dir / "in");
  ASSERT_TRUE(WriteDngFile(input, DngContent{.width = 96, .height = 64, .seed = 3}));
  const std::vector<std::string> formats = {"png", "jpg", "psd", "bmp"};
  std::vector<FileConversion> isolated;
  for (const std::string& format : formats) {
    std::filesystem::create_directories(dir / ("iso-" + format));
    const Batch batch = BatchFor(dir / ("iso-" + format) + "/", format);
    ContentWorker worker(batch.settings, batch.job, nullptr, kIsolated);
    FileConversion file;
    file.inputFile = input;
    EXPECT_TRUE(ConvertAndCommit(worker, batch, ProtectedInputs(), file)) << format << ": " << file.failureText;
    EXPECT_EQ(worker.WorkersStarted(), 1) << format;
    isolated.push_back(file);
  }
  for (std::size_t i = 0; i < formats.size(); ++i) {
    const std::string& format = formats[i];
    std::filesystem::create_directories(dir / ("own-" + format));
    const Batch batch = BatchFor(dir / ("own-" + format) + "/", format);
    FileConversion own;
    own.inputFile = input;
    ASSERT_TRUE(ConvertImageFile(batch.settings, batch.job, ProtectedInputs(), own, nullptr)) << format;
    const FileConversion& file = isolated[i];
    const std::string expectedName = "shot-" + std::to_string(own.outputBitDepth) + "-" +
                                     std::to_string(own.imageWidth) + "x" + std::to_string(own.imageHeight) +
                                     "-00007." + format;
    EXPECT_EQ(std::filesystem::path(file.outputFile).filename().string(), expectedName)
        << "the name reads the depth and size the worker found";
    EXPECT_GT(own.imageWidth, 0) << format;
    EXPECT_EQ(file.sourceBitDepth, own.sourceBitDepth) << format;
    EXPECT_EQ(file.outputBitDepth, own.outputBitDepth) << format;
    EXPECT_EQ(file.imageWidth, own.imageWidth) << format;
    EXPECT_EQ(file.imageHeight, own.imageHeight) << format;
    EXPECT_EQ(ReadFileBytes(file.outputFile), ReadFileBytes(own.outputFile)) << format;
  }
}

// One worker process serves file after file, and each file's watermark sees the job's counters as they are when
// the file is handed over, not as they were when the worker was forked.
TEST(IsolatedConversion, OneWorkerServesEveryFileWithTheCountersOfItsTime) {
  InitialiseEncoders();
  const TempDir dir;
  std::filesystem::create_directories(dir / "in");
  const std::string input = dir / "in/shot.dng";
  ASSERT_TRUE(WriteDngFile(input, DngContent{.width = 160, .height = 120, .seed = 5}));
  const DrawingFont font = LoadFont("Arial", 24, {});
  ASSERT_TRUE(font.IsFont());
  Batch batch = BatchFor(dir / "out/", "png");
  batch.settings.watermark.doWatermark = 1;
  batch.settings.watermark.text = "No %n%";
  std::vector<std::vector<unsigned char>> isolated;
  {
    ContentWorker worker(batch.settings, batch.job, &font, kIsolated);
    for (const std::int32_t counter : {1, 2, 1}) {
      batch.job.fileCounter = counter;
      FileConversion file;
      file.inputFile = input;
      std::vector<unsigned char> encoded;
      ASSERT_TRUE(worker.Convert(file, encoded)) << file.failureText;
      isolated.push_back(encoded);
    }
    EXPECT_EQ(worker.WorkersStarted(), 1);
  }
  EXPECT_NE(isolated[0], isolated[1]) << "the watermark shows the counter";
  EXPECT_EQ(isolated[0], isolated[2]) << "the same counter gives the same file";
  for (const std::int32_t counter : {1, 2}) {
    batch.job.fileCounter = counter;
    FileConversion file;
    file.inputFile = input;
    std::vector<unsigned char> own;
    ASSERT_TRUE(ConvertImageContent(batch.settings, batch.job, file, &font, own));
    EXPECT_EQ(own, isolated[static_cast<std::size_t>(counter - 1)]) << counter;
  }
}

TEST(IsolatedConversion, AFileThatFailsInTheWorkerKeepsItsReasonAndWritesNothing) {
  const TempDir dir;
  const std::string input = dir.WriteFile("in/text.dng", "plain text, not a camera file");
  std::filesystem::create_directories(dir / "out");
  const Batch batch = BatchFor(dir / "out/", "png");
  ContentWorker worker(batch.settings, batch.job, nullptr, kIsolated);
  FileConversion file;
  file.inputFile = input;
  EXPECT_FALSE(ConvertAndCommit(worker, batch, ProtectedInputs(), file));
  EXPECT_EQ(file.failure, ConversionFailure::kUndecodable);
  EXPECT_TRUE(std::filesystem::is_empty(dir / "out"));

  // The next file gets a fresh worker: the failed file may have left the last one damaged.
  FileConversion good;
  good.inputFile = dir / "in/good.dng";
  ASSERT_TRUE(WriteDngFile(good.inputFile, DngContent{}));
  EXPECT_TRUE(ConvertAndCommit(worker, batch, ProtectedInputs(), good)) << good.failureText;
  EXPECT_EQ(worker.WorkersStarted(), 2);
}

TEST(IsolatedConversion, TheOutputStillNeverReplacesAnInput) {
  const TempDir dir;
  const std::string input = dir / "shot.png";
  ASSERT_TRUE(WriteDngFile(input, DngContent{}));  // named like the output it would get
  const std::string before = ReadFileBytes(input);
  Batch batch = BatchFor(dir.path().string() + "/", "png");
  batch.settings.advanced.filenameMask = "";
  ProtectedInputs inputs;
  inputs.Add(input);
  ContentWorker worker(batch.settings, batch.job, nullptr, kIsolated);
  FileConversion file;
  file.inputFile = input;
  EXPECT_FALSE(ConvertAndCommit(worker, batch, inputs, file));
  EXPECT_EQ(file.failure, ConversionFailure::kWouldReplaceInput);
  EXPECT_EQ(ReadFileBytes(input), before);
}

// Each thread converts in a worker of its own, forked with the pool; the files of several threads do not mix.
TEST(IsolatedConversion, APoolGivesEachThreadAWorkerOfItsOwn) {
  const TempDir dir;
  std::filesystem::create_directories(dir / "in");
  std::vector<std::string> inputs;
  for (unsigned seed = 0; seed < 6; ++seed) {
    inputs.push_back(dir / ("in/shot" + std::to_string(seed) + ".dng"));
    ASSERT_TRUE(WriteDngFile(inputs.back(), DngContent{.width = 40 + 8 * seed, .height = 32, .seed = seed + 1}));
  }
  const Batch batch = BatchFor(dir / "out/", "png");
  std::vector<int> expectedWidths;
  {
    ContentWorkerPool pool(batch.settings, batch.job, nullptr, kIsolated, 1);
    for (const std::string& input : inputs) {
      FileConversion file;
      file.inputFile = input;
      std::vector<unsigned char> encoded;
      EXPECT_TRUE(pool.Convert(file, encoded)) << input;
      expectedWidths.push_back(file.imageWidth);
    }
    EXPECT_EQ(pool.WorkersStarted(), 1) << "one thread needs one worker";
  }
  ContentWorkerPool pool(batch.settings, batch.job, nullptr, kIsolated, 3);
  EXPECT_EQ(pool.WorkersStarted(), 3) << "the workers are forked before the threads start";
  std::vector<int> widths(inputs.size(), 0);
  std::vector<std::thread> threads;
  for (std::size_t t = 0; t < 3; ++t) {
    threads.emplace_back([&, t] {
      for (std::size_t i = t; i < inputs.size(); i += 3) {
        FileConversion file;
        file.inputFile = inputs[i];
        std::vector<unsigned char> encoded;
        if (pool.Convert(file, encoded) && !encoded.empty()) widths[i] = file.imageWidth;
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
