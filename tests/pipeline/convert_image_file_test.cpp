#include "pipeline/convert_image_file.h"

#include <FreeImage.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "formats/registry.h"
#include "pipeline/encoder_setup.h"
#include "pipeline/save_flags.h"
#include "dng/dng_writer.h"
#include "support/temp_dir.h"

namespace lumivane::testing {
namespace {

namespace fs = std::filesystem;

// One file converted on its own: the records as the batch driver prepares them for a jpg run.
class ConvertImageFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    BuildRegistry();
    InitialiseEncoders();
    ResetSettings(settings_, true);
    job_.outputFolder = dir_.path().string() + "/out/";
    fs::create_directories(job_.outputFolder);
    UseFormat("jpg");
    DngContent content;
    content.width = 80;
    content.height = 60;
    photo_ = dir_.path().string() + "/in/photo.dng";
    fs::create_directories(dir_.path() / "in");
    ASSERT_TRUE(WriteDngFile(photo_, content));
    file_.inputFile = photo_;
  }

  void UseFormat(const std::string& format, int bitDepth = 0) {
    job_.outputFormat = format;
    job_.encoderTypeId = FindOutputFormat(format)->encoderTypeId;
    job_.outputBitDepth = bitDepth;
    job_.automaticBitDepth = bitDepth == 0 ? 1 : 0;
    job_.saveFlags = ComputeSaveFlags(settings_, format);
  }

  bool Convert() {
    inputs_.Add(photo_);
    return ConvertImageFile(settings_, job_, inputs_, file_, nullptr);
  }

  TempDir dir_;
  Settings settings_;
  JobRecord job_;
  ProtectedInputs inputs_;
  FileConversion file_;
  std::string photo_;
};

TEST_F(ConvertImageFileTest, AConvertedFileLeavesItsDepthsSizeAndPathsInItsRecord) {
  settings_.advanced.filenameMask = "%filename%-%width%x%height%-%bpp%.%ext%";
  ASSERT_TRUE(Convert());
  EXPECT_EQ(file_.failure, ConversionFailure::kNone);
  EXPECT_EQ(file_.sourceBitDepth, 24);
  EXPECT_EQ(file_.outputBitDepth, 24);  // automatic: the jpg depth nearest to 24
  EXPECT_EQ(file_.imageWidth, 80);
  EXPECT_EQ(file_.imageHeight, 60);
  EXPECT_EQ(file_.frameNumber, 1);
  EXPECT_EQ(file_.outputFile, job_.outputFolder + "photo-80x60-24.jpg");
  EXPECT_TRUE(fs::exists(file_.outputFile));
  EXPECT_EQ(fs::path(file_.temporaryFile).parent_path(), fs::path(file_.outputFile).parent_path());
  EXPECT_FALSE(fs::exists(file_.temporaryFile));  // renamed onto the output
  FIBITMAP* written = FreeImage_Load(FIF_JPEG, file_.outputFile.c_str(), 0);
  ASSERT_NE(written, nullptr);
  EXPECT_EQ(FreeImage_GetWidth(written), 80u);
  EXPECT_EQ(FreeImage_GetBPP(written), 24u);
  FreeImage_Unload(written);
}

TEST_F(ConvertImageFileTest, KeptSubfoldersGoIntoTheOutputAndTemporaryPaths) {
  file_.relativeSubfolder = "day1/";
  fs::create_directories(job_.outputFolder + "day1");
  ASSERT_TRUE(Convert());
  EXPECT_EQ(file_.outputFile, job_.outputFolder + "day1/photo.jpg");
  EXPECT_EQ(fs::path(file_.temporaryFile).parent_path().string() + "/", job_.outputFolder + "day1/");
}

TEST_F(ConvertImageFileTest, AFileNoDecoderReadsFailsWithoutAnOutput) {
  photo_ = dir_.WriteFile("in/text.dng", "plain text, no picture");
  file_.inputFile = photo_;
  EXPECT_FALSE(Convert());
  EXPECT_EQ(file_.failure, ConversionFailure::kUndecodable);
  EXPECT_EQ(file_.sourceBitDepth, 0);
  EXPECT_EQ(file_.outputFile, "");
  EXPECT_TRUE(fs::is_empty(job_.outputFolder));
}

TEST_F(ConvertImageFileTest, AMissingFileIsUnreadable) {
  photo_ = dir_.path().string() + "/in/gone.dng";
  file_.inputFile = photo_;
  EXPECT_FALSE(Convert());
  EXPECT_EQ(file_.failure, ConversionFailure::kUnreadable);
}

TEST_F(ConvertImageFileTest, AnOutputThatIsAnInputIsNeverWritten) {
  job_.outputFolder = dir_.path().string() + "/in/";
  settings_.advanced.filenameMask = "%filename%.dng";
  const std::string before = ReadFileBytes(photo_);
  EXPECT_FALSE(Convert());
  EXPECT_EQ(file_.failure, ConversionFailure::kWouldReplaceInput);
  EXPECT_EQ(file_.outputFile, photo_);
  EXPECT_EQ(ReadFileBytes(photo_), before);
  EXPECT_EQ(std::distance(fs::directory_iterator(job_.outputFolder), {}), 1);
}

TEST_F(ConvertImageFileTest, ADepthTheConversionDoesNotKnowFailsTheFile) {
  UseFormat("bmp", 2);
  EXPECT_FALSE(Convert());
  EXPECT_EQ(file_.failure, ConversionFailure::kEncodeFailed);
  EXPECT_TRUE(fs::is_empty(job_.outputFolder));
}

TEST_F(ConvertImageFileTest, AnEncoderThatRefusesTheImageFailsTheFileAndLeavesNothing) {
  UseFormat("ico");  // 80 x 60 is below the icon limit and not square
  EXPECT_FALSE(Convert());
  EXPECT_EQ(file_.failure, ConversionFailure::kEncodeFailed);
  EXPECT_EQ(file_.outputBitDepth, 24);  // the depth was fixed before the encoder refused
  EXPECT_TRUE(fs::is_empty(job_.outputFolder));
}

TEST_F(ConvertImageFileTest, LinearDataKeepsFortyEightBitsUpToTheEncoder) {
  settings_.input.rawLoadAs = 5;
  settings_.input.rawToneMapping = 0;
  UseFormat("png");
  ASSERT_TRUE(Convert());
  EXPECT_EQ(file_.sourceBitDepth, 48);
  EXPECT_EQ(file_.outputBitDepth, 48);
  FIBITMAP* written = FreeImage_Load(FIF_PNG, file_.outputFile.c_str(), 0);
  ASSERT_NE(written, nullptr);
  EXPECT_EQ(FreeImage_GetBPP(written), 48u);
  FreeImage_Unload(written);
}

TEST_F(ConvertImageFileTest, IconsRecordTheLimitedWorkingSize) {
  DngContent content;
  content.width = 300;
  content.height = 130;
  ASSERT_TRUE(WriteDngFile(photo_, content));
  UseFormat("ico");
  ASSERT_TRUE(Convert());
  EXPECT_EQ(file_.imageWidth, 128);
  EXPECT_EQ(file_.imageHeight, 128);
}

}  // namespace
}  // namespace lumivane::testing
