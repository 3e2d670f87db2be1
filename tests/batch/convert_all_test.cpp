#include "batch/convert_all.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "formats/registry.h"
#include "pipeline/encoder_setup.h"
#include "dng/dng_writer.h"
#include "support/output_capture.h"
#include "support/temp_dir.h"

namespace lumivane::testing {
namespace {

namespace fs = std::filesystem;

class ConvertAllTest : public ::testing::Test {
 protected:
  void SetUp() override {
    BuildRegistry();
    InitialiseEncoders();
    ResetSettings(settings_, true);
    ResetJob(job_);
    job_.consoleMode = 1;
    job_.outputFolder = dir_.path().string() + "/out/";
    fs::create_directories(job_.outputFolder);
    job_.outputFormat = "bmp";
    job_.encoderTypeId = FindOutputFormat("bmp")->encoderTypeId;
    job_.automaticBitDepth = 1;
  }

  std::string Photo(const std::string& name) {
    const std::string path = dir_.path().string() + "/in/" + name;
    fs::create_directories(fs::path(path).parent_path());
    EXPECT_TRUE(WriteDngFile(path, DngContent{}));
    return path;
  }
  std::string Unreadable(const std::string& name) { return dir_.WriteFile("in/" + name, "no picture"); }

  std::int32_t Convert() {
    StandardOutputCapture quiet;
    return ConvertAll(settings_, job_, progress_, files_, nullptr);
  }

  TempDir dir_;
  Settings settings_;
  JobRecord job_;
  ProgressRecord progress_;
  CollectedFileList files_;
};

TEST_F(ConvertAllTest, CountsTheConvertedFilesAndPublishesTheLastOne) {
  const std::string a = Photo("a.dng"), b = Photo("b.dng"), bad = Unreadable("bad.dng");
  for (const std::string& path : {a, b, bad}) files_.Add(path, "");
  EXPECT_EQ(Convert(), 2);
  const ProgressSnapshot progress = progress_.Snapshot();
  EXPECT_EQ(progress.count, 2);
  EXPECT_EQ(progress.position, 3);
  EXPECT_EQ(progress.currentFile, files_.InOrder().back()->path);
  // The duration published with the last file is that of the one before: at least a second when it converted.
  const bool beforeLastConverted = files_.InOrder()[1]->path != bad;
  EXPECT_EQ(progress.lastDuration >= 1000, beforeLastConverted);
  EXPECT_EQ(progress.lastDuration == 0, !beforeLastConverted);
  EXPECT_EQ(job_.fileCounter, 3);
  EXPECT_EQ(job_.previousOutputBitDepth, 24);  // bmp's depth nearest to the decoded 24 bits
}

TEST_F(ConvertAllTest, AStopRequestEndsThePassBeforeTheNextFile) {
  files_.Add(Photo("a.dng"), "");
  progress_.Stop();
  EXPECT_EQ(Convert(), 0);
  EXPECT_EQ(progress_.Snapshot().position, 0);
  EXPECT_TRUE(fs::is_empty(job_.outputFolder));
  EXPECT_EQ(job_.fileCounter, 1);
}

TEST_F(ConvertAllTest, OutputSubfoldersAreMadeLevelByLevel) {
  CreateOutputSubfolders(job_.outputFolder, "one/two/three/");
  EXPECT_TRUE(fs::is_directory(job_.outputFolder + "one/two/three"));
  CreateOutputSubfolders(job_.outputFolder, "one/two/three/");  // already there
  CreateOutputSubfolders(job_.outputFolder, "");
  EXPECT_TRUE(fs::is_directory(job_.outputFolder + "one/two/three"));

  dir_.WriteFile("out/blocked", "a file where a folder should go");
  CreateOutputSubfolders(job_.outputFolder, "blocked/inner/");  // silently not made
  EXPECT_FALSE(fs::exists(job_.outputFolder + "blocked/inner"));
}

TEST_F(ConvertAllTest, WithoutKeptSubfoldersNoFolderIsMade) {
  settings_.advanced.keepSubfolders = 0;
  files_.Add(Photo("day1/a.dng"), "day1/");
  EXPECT_EQ(Convert(), 1);
  EXPECT_TRUE(fs::exists(job_.outputFolder + "a.bmp"));
  EXPECT_FALSE(fs::exists(job_.outputFolder + "day1"));
}

}  // namespace
}  // namespace lumivane::testing
