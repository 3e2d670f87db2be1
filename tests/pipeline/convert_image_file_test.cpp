#include "pipeline/convert_image_file.h"

#include <FreeImage.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "batch/job.h"
#include "batch/output_naming.h"
#include "dng/dng_writer.h"
#include "formats/registry.h"
#include "pipeline/edit_steps.h"
#include "pipeline/encoder_setup.h"
#include "platform/drawing_font.h"
#include "settings/settings_table.h"
#include "support/temp_dir.h"

namespace lumivane::testing {
namespace {

namespace fs = std::filesystem;

// One file converted on its own, then committed as the batch commits it: the records as the batch driver prepares
// them for a jpg run.
class ConvertImageFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    BuildRegistry();
    InitialiseEncoders();
    ResetSettings(plan_.settings, true);
    plan_.outputFolder = dir_.path().string() + "/out/";
    fs::create_directories(plan_.outputFolder);
    UseFormat("jpg");
    DngContent content;
    content.width = 80;
    content.height = 60;
    photo_ = dir_.path().string() + "/in/photo.dng";
    fs::create_directories(dir_.path() / "in");
    ASSERT_TRUE(WriteDngFile(photo_, content));
    file_.inputFile = photo_;
    file_.numbering = FirstFileNumbering();
  }

  // The output format, with its bit-depth setting (0: automatic).
  void UseFormat(const std::string& format, int bitDepth = 0) {
    plan_.outputFormat = format;
    for (const SettingRow* row : OwnedSettings(format)) {
      if (row->validation.check == SettingCheck::kAllowedBitDepth) SetSetting(plan_.settings, *row, bitDepth);
    }
    ASSERT_EQ(BitDepthSettingValue(plan_.settings, format), bitDepth);
  }

  // ConvertImageContent, then the commit of a converted file. True when the output was written.
  bool Convert() {
    inputs_.Add(photo_);
    converted_ = ConvertImageContent(plan_, file_, nullptr);
    if (!converted_.Converted()) return false;
    outputFile_ = CommitConvertedFile(plan_, inputs_, file_, file_.numbering, converted_);
    return converted_.Converted();
  }

  // The entries of a folder, sorted.
  static std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  TempDir dir_;
  BatchPlan plan_;
  ProtectedInputs inputs_;
  FileToConvert file_;
  ConvertedFile converted_;
  std::string outputFile_;
  std::string photo_;
};

TEST_F(ConvertImageFileTest, AConvertedFileGivesItsDepthsSizeAndBytesAndItsCommitThePath) {
  plan_.settings.advanced.filenameMask = "%filename%-%width%x%height%-%bpp%.%ext%";
  ASSERT_TRUE(Convert());
  EXPECT_EQ(converted_.failure, ConversionFailure::kNone);
  EXPECT_EQ(converted_.sourceBitDepth, 24);
  EXPECT_EQ(converted_.outputBitDepth, 24);  // automatic: the jpg depth nearest to 24
  EXPECT_EQ(converted_.imageWidth, 80);
  EXPECT_EQ(converted_.imageHeight, 60);
  EXPECT_EQ(converted_.frameNumber, 1);
  EXPECT_EQ(outputFile_, plan_.outputFolder + "photo-80x60-24.jpg");
  EXPECT_TRUE(fs::exists(outputFile_));
  EXPECT_EQ(ReadFileBytes(outputFile_), std::string(converted_.encoded.begin(), converted_.encoded.end()));
  // The temporary file was renamed onto the output: nothing else is left in its folder.
  EXPECT_EQ(Entries(plan_.outputFolder), std::vector<std::string>{"photo-80x60-24.jpg"});
  FIBITMAP* written = FreeImage_Load(FIF_JPEG, outputFile_.c_str(), 0);
  ASSERT_NE(written, nullptr);
  EXPECT_EQ(FreeImage_GetWidth(written), 80u);
  EXPECT_EQ(FreeImage_GetBPP(written), 24u);
  FreeImage_Unload(written);
}

TEST_F(ConvertImageFileTest, KeptSubfoldersGoIntoTheOutputPathAndTheTemporaryFileStaysThere) {
  file_.relativeSubfolder = "day1/";
  fs::create_directories(plan_.outputFolder + "day1");
  ASSERT_TRUE(Convert());
  EXPECT_EQ(outputFile_, plan_.outputFolder + "day1/photo.jpg");
  EXPECT_EQ(Entries(plan_.outputFolder), std::vector<std::string>{"day1"});
  EXPECT_EQ(Entries(plan_.outputFolder + "day1"), std::vector<std::string>{"photo.jpg"});
}

TEST_F(ConvertImageFileTest, AFileNoDecoderReadsFailsWithoutAnOutput) {
  photo_ = dir_.WriteFile("in/text.dng", "plain text, no picture");
  file_.inputFile = photo_;
  EXPECT_FALSE(Convert());
  EXPECT_EQ(converted_.failure, ConversionFailure::kUndecodable);
  EXPECT_EQ(converted_.sourceBitDepth, 0);
  EXPECT_TRUE(converted_.encoded.empty());
  EXPECT_EQ(outputFile_, "");
  EXPECT_TRUE(fs::is_empty(plan_.outputFolder));
}

TEST_F(ConvertImageFileTest, AMissingFileIsUnreadable) {
  photo_ = dir_.path().string() + "/in/gone.dng";
  file_.inputFile = photo_;
  EXPECT_FALSE(Convert());
  EXPECT_EQ(converted_.failure, ConversionFailure::kUnreadable);
}

TEST_F(ConvertImageFileTest, AnOutputThatIsAnInputIsNeverWritten) {
  plan_.outputFolder = dir_.path().string() + "/in/";
  plan_.settings.advanced.filenameMask = "%filename%.dng";
  const std::string before = ReadFileBytes(photo_);
  EXPECT_FALSE(Convert());
  EXPECT_EQ(converted_.failure, ConversionFailure::kWouldReplaceInput);
  EXPECT_EQ(outputFile_, photo_);
  EXPECT_EQ(ReadFileBytes(photo_), before);
  EXPECT_EQ(std::distance(fs::directory_iterator(plan_.outputFolder), {}), 1);
}

TEST_F(ConvertImageFileTest, ADepthTheConversionDoesNotKnowFailsTheFile) {
  UseFormat("bmp", 2);
  EXPECT_FALSE(Convert());
  EXPECT_EQ(converted_.failure, ConversionFailure::kEncodeFailed);
  EXPECT_TRUE(fs::is_empty(plan_.outputFolder));
}

TEST_F(ConvertImageFileTest, AnEncoderThatRefusesTheImageFailsTheFileAndLeavesNothing) {
  UseFormat("ico");  // 80 x 60 is below the icon limit and not square
  EXPECT_FALSE(Convert());
  EXPECT_EQ(converted_.failure, ConversionFailure::kEncodeFailed);
  EXPECT_EQ(converted_.outputBitDepth, 24);  // the depth was fixed before the encoder refused
  EXPECT_TRUE(fs::is_empty(plan_.outputFolder));
}

TEST_F(ConvertImageFileTest, LinearDataKeepsFortyEightBitsUpToTheEncoder) {
  plan_.settings.input.rawLoadAs = RawLoadAs::k48;
  plan_.settings.input.rawToneMapping = ToneMapping::kNone;
  UseFormat("png");
  ASSERT_TRUE(Convert());
  EXPECT_EQ(converted_.sourceBitDepth, 48);
  EXPECT_EQ(converted_.outputBitDepth, 48);
  FIBITMAP* written = FreeImage_Load(FIF_PNG, outputFile_.c_str(), 0);
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
  EXPECT_EQ(converted_.imageWidth, 128);
  EXPECT_EQ(converted_.imageHeight, 128);
}

// A watermark text is filled before the file's depth is fixed: its "%bpp%" is the configured depth, or with an
// automatic depth the one fixed for the file before (none for a batch's first file); never the file's own.
TEST_F(ConvertImageFileTest, AWatermarksBitDepthIsTheConfiguredOneOrThePreviousFilesWhenAutomatic) {
  plan_.settings.watermark.doWatermark = WatermarkKind::kText;
  plan_.settings.watermark.fontSize = 24;
  const DrawingFont font = LoadWatermarkFont(plan_.settings);
  ASSERT_TRUE(font.IsFont());
  // The bytes of the file with the given watermark text, the file before having been written with 32 bits.
  const auto encodedWith = [&](const std::string& text) {
    BatchPlan plan = plan_;
    plan.settings.watermark.text = text;
    FileToConvert file = file_;
    file.numbering.previousOutputBitDepth = 32;
    const ConvertedFile converted = ConvertImageContent(plan, file, &font);
    EXPECT_TRUE(converted.Converted()) << text;
    return converted.encoded;
  };
  UseFormat("png", 24);
  EXPECT_EQ(encodedWith("%bpp% bits"), encodedWith("24 bits"));
  EXPECT_NE(encodedWith("%bpp% bits"), encodedWith("32 bits"));

  UseFormat("png");  // automatic: the file itself gets 24 bits
  EXPECT_EQ(encodedWith("%bpp% bits"), encodedWith("32 bits"));
  EXPECT_NE(encodedWith("%bpp% bits"), encodedWith("24 bits"));

  file_.numbering.previousOutputBitDepth = 0;  // the first file of a batch
  plan_.settings.watermark.text = "%bpp% bits";
  const ConvertedFile first = ConvertImageContent(plan_, file_, &font);
  plan_.settings.watermark.text = "0 bits";
  const ConvertedFile zero = ConvertImageContent(plan_, file_, &font);
  ASSERT_TRUE(first.Converted() && zero.Converted());
  EXPECT_EQ(first.encoded, zero.encoded);
}

}  // namespace
}  // namespace lumivane::testing
