#pragma once
// In-process batch runs: the process-wide records set up as the command-line driver leaves them, small DNG inputs
// and a capture of what the run prints.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "batch/batch_state.h"
#include "batch/run_batch.h"
#include "settings/string_table.h"
#include "formats/registry.h"
#include "pipeline/encoder_setup.h"
#include "settings/settings.h"
#include "dng/dng_writer.h"
#include "support/output_capture.h"
#include "support/temp_dir.h"

namespace lumivane::testing {

struct BatchRun {
  BatchOutcome outcome{};
  std::string error;               // the message of a refused run's "Error: " line, which the command line prints
  std::vector<std::string> lines;  // what the run itself printed
};

class BatchRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    BuildRegistry();
    InitialiseEncoders();
    BuildStringTable("");
    ResetSettings(gSettings, true);
    ResetJob(gJob);
    gJob.currentFolder = (dir_.path() / "current").string() + "/";
    gJob.consoleMode = 1;
    std::filesystem::create_directories(gJob.currentFolder);
    std::filesystem::create_directories(Input());
    std::filesystem::create_directories(Output());
    gJob.inputFolder = Input();
    gJob.outputFolder = Output();
  }

  void TearDown() override { gCollectedFiles.Clear(); }

  std::string Input() const { return (dir_.path() / "in").string() + "/"; }
  std::string Output() const { return (dir_.path() / "out").string() + "/"; }

  // A small DNG below the input folder; the sensor size is what FreeImage decodes without a preview.
  std::string AddPhoto(const std::string& relativePath, int width = 64, int height = 48) const {
    const std::string path = Input() + relativePath;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    DngContent content;
    content.width = width;
    content.height = height;
    content.seed = static_cast<std::uint32_t>(relativePath.size());
    EXPECT_TRUE(WriteDngFile(path, content)) << path;
    return path;
  }
  // A file with a RAW extension that no decoder reads.
  std::string AddUnreadable(const std::string& relativePath) const {
    return dir_.WriteFile("in/" + relativePath, "this is no picture at all");
  }

  static BatchRun Run(bool quiet = false) {
    StandardOutputCapture capture;
    BatchRun run;
    BatchResult result = RunBatch(quiet);
    run.outcome = result.outcome;
    run.error = std::move(result.error);
    run.lines = capture.Lines();
    return run;
  }

  // The files below the output folder, as paths relative to it, sorted.
  std::vector<std::string> OutputFiles() const {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(Output())) {
      if (entry.is_regular_file()) files.push_back(std::filesystem::relative(entry.path(), Output()).string());
    }
    std::sort(files.begin(), files.end());
    return files;
  }

  TempDir dir_;
};

}  // namespace lumivane::testing
