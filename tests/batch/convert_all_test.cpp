#include "batch/convert_all.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "batch/isolated_conversion.h"
#include "batch/job.h"
#include "dng/dng_writer.h"
#include "formats/registry.h"
#include "pipeline/edit_steps.h"
#include "pipeline/encoder_setup.h"
#include "platform/drawing_font.h"
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
    ResetSettings(plan_.settings, true);
    plan_.outputFolder = dir_.path().string() + "/out/";
    fs::create_directories(plan_.outputFolder);
    plan_.outputFormat = "bmp";
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
    return ConvertAll(plan_, RunOptions{}, /*verbose=*/false, progress_, files_,
                      SelectFiles(plan_, RunOptions{}, files_), font_.IsFont() ? &font_ : nullptr)
        .converted;
  }

  // The names of the files in the output folder, sorted.
  std::vector<std::string> Outputs() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(plan_.outputFolder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  TempDir dir_;
  BatchPlan plan_;
  DrawingFont font_;
  ProgressRecord progress_;
  CollectedFileList files_;
};

TEST_F(ConvertAllTest, CountsTheConvertedFilesAndPublishesTheLastOne) {
  plan_.settings.advanced.filenameMask = "%n%-%filename%.%ext%";
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
  // Only the converted files took a number, in list order.
  std::vector<std::string> expected;
  for (const CollectedFile* file : files_.InOrder()) {
    if (file->path == bad) continue;
    expected.push_back("0000" + std::to_string(expected.size() + 1) + "-" + fs::path(file->path).stem().string() +
                       ".bmp");
  }
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Outputs(), expected);
}

// With automatic depth a watermark's "%bpp%" shows the depth fixed for the file before: none for the first file,
// then bmp's depth nearest to the decoded 24 bits.
TEST_F(ConvertAllTest, AWatermarkShowsTheDepthOfTheFileBefore) {
  plan_.settings.watermark.doWatermark = WatermarkKind::kText;
  plan_.settings.watermark.text = "%bpp% bits";
  plan_.settings.watermark.fontSize = 24;
  plan_.settings.advanced.filenameMask = "%n%.%ext%";
  font_ = LoadWatermarkFont(plan_.settings);
  ASSERT_TRUE(font_.IsFont());
  files_.Add(Photo("a.dng"), "");
  files_.Add(Photo("b.dng"), "");
  ASSERT_EQ(Convert(), 2);
  // The expected files, rendered in a worker as the pass renders them: no decoding in this process, whose later
  // workers would miss LibRaw's threads (see isolated_conversion.h).
  ContentWorker worker(plan_, &font_, IsolationOptions{.inProcess = false, .timeLimit = std::chrono::seconds(60)});
  for (const auto& [name, previousDepth] : {std::pair{"00001.bmp", 0}, std::pair{"00002.bmp", 24}}) {
    SCOPED_TRACE(name);
    const std::string input = files_.InOrder()[name == std::string("00001.bmp") ? 0 : 1]->path;
    FileToConvert file{input, "", FirstFileNumbering()};
    file.numbering.previousOutputBitDepth = previousDepth;
    const ConvertedFile expected = worker.Convert(file);
    ASSERT_TRUE(expected.Converted());
    const std::string written = ReadFileBytes(plan_.outputFolder + name);
    EXPECT_EQ(written, std::string(expected.encoded.begin(), expected.encoded.end()));
    file.numbering.previousOutputBitDepth = previousDepth == 0 ? 24 : 0;
    const ConvertedFile other = worker.Convert(file);
    EXPECT_NE(written, std::string(other.encoded.begin(), other.encoded.end())) << "the text shows the depth";
  }
}

TEST_F(ConvertAllTest, AStopRequestEndsThePassBeforeTheNextFile) {
  files_.Add(Photo("a.dng"), "");
  progress_.Stop();
  EXPECT_EQ(Convert(), 0);
  EXPECT_EQ(progress_.Snapshot().position, 0);
  EXPECT_TRUE(fs::is_empty(plan_.outputFolder));
}

TEST_F(ConvertAllTest, OutputSubfoldersAreMadeLevelByLevel) {
  CreateOutputSubfolders(plan_.outputFolder, "one/two/three/");
  EXPECT_TRUE(fs::is_directory(plan_.outputFolder + "one/two/three"));
  CreateOutputSubfolders(plan_.outputFolder, "one/two/three/");  // already there
  CreateOutputSubfolders(plan_.outputFolder, "");
  EXPECT_TRUE(fs::is_directory(plan_.outputFolder + "one/two/three"));

  dir_.WriteFile("out/blocked", "a file where a folder should go");
  CreateOutputSubfolders(plan_.outputFolder, "blocked/inner/");  // silently not made
  EXPECT_FALSE(fs::exists(plan_.outputFolder + "blocked/inner"));
}

TEST_F(ConvertAllTest, WithoutKeptSubfoldersNoFolderIsMade) {
  plan_.settings.advanced.keepSubfolders = 0;
  files_.Add(Photo("day1/a.dng"), "day1/");
  EXPECT_EQ(Convert(), 1);
  EXPECT_TRUE(fs::exists(plan_.outputFolder + "a.bmp"));
  EXPECT_FALSE(fs::exists(plan_.outputFolder + "day1"));
}

}  // namespace
}  // namespace lumivane::testing
