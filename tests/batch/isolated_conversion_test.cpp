// A file converted with its library part in a worker gives the same record and the same output file as one
// converted in-process; a worker that cannot finish fails only its file.
#include "batch/isolated_conversion.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "batch/bit_depth_settings.h"
#include "formats/registry.h"
#include "pipeline/convert_image_file.h"
#include "pipeline/encoder_setup.h"
#include "pipeline/save_flags.h"
#include "support/dng_writer.h"
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
  const IsolationOptions options{.inProcess = false, .timeLimit = std::chrono::seconds(60)};
  std::vector<FileConversion> isolated;
  for (const std::string& format : formats) {
    std::filesystem::create_directories(dir / ("iso-" + format));
    const Batch batch = BatchFor(dir / ("iso-" + format) + "/", format);
    FileConversion file;
    file.inputFile = input;
    EXPECT_TRUE(ConvertImageFileIsolated(batch.settings, batch.job, ProtectedInputs(), file, nullptr, options))
        << format << ": " << file.failureText;
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

TEST(IsolatedConversion, AFileThatFailsInTheWorkerKeepsItsReasonAndWritesNothing) {
  const TempDir dir;
  const std::string input = dir.WriteFile("in/text.dng", "plain text, not a camera file");
  std::filesystem::create_directories(dir / "out");
  const Batch batch = BatchFor(dir / "out/", "png");
  FileConversion file;
  file.inputFile = input;
  EXPECT_FALSE(ConvertImageFileIsolated(batch.settings, batch.job, ProtectedInputs(), file, nullptr,
                                        {.inProcess = false, .timeLimit = std::chrono::seconds(60)}));
  EXPECT_EQ(file.failure, ConversionFailure::kUndecodable);
  EXPECT_TRUE(std::filesystem::is_empty(dir / "out"));
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
  FileConversion file;
  file.inputFile = input;
  EXPECT_FALSE(ConvertImageFileIsolated(batch.settings, batch.job, inputs, file, nullptr,
                                        {.inProcess = false, .timeLimit = std::chrono::seconds(60)}));
  EXPECT_EQ(file.failure, ConversionFailure::kWouldReplaceInput);
  EXPECT_EQ(ReadFileBytes(input), before);
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
