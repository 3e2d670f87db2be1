#include "batch/output_naming.h"

#include <gtest/gtest.h>

#include <string>

namespace lumivane::testing {
namespace {

TEST(OutputPathTest, JoinsOutputFolderSubfolderAndName) {
  BatchPlan plan;
  plan.settings.advanced.filenameMask = "%filename%.%ext%";
  plan.outputFolder = "/out/";
  plan.outputFormat = "png";
  FileToConvert file;
  file.inputFile = "/in/day1/raw/IMG_0001.CR2";
  file.relativeSubfolder = "day1/raw/";
  file.numbering.fileCounter = 9;  // as the file was handed over; the name shows the numbering of its commit
  FileNumbering numbering;
  numbering.fileCounter = 3;
  ConvertedFile converted;
  plan.settings.advanced.keepSubfolders = 1;
  EXPECT_EQ(BuildOutputPath(plan, file, converted, numbering), "/out/day1/raw/IMG_0001.png");
  plan.settings.advanced.keepSubfolders = 0;
  EXPECT_EQ(BuildOutputPath(plan, file, converted, numbering), "/out/IMG_0001.png");
  plan.settings.advanced.filenameMask = "%n%_%bpp%.%ext%";
  converted.outputBitDepth = 48;
  EXPECT_EQ(BuildOutputPath(plan, file, converted, numbering), "/out/00003_48.png");
  plan.settings.advanced.filenameMask = "";
  EXPECT_EQ(BuildOutputPath(plan, file, converted, numbering), "/out/IMG_0001.png");
}

TEST(OutputNameValuesTest, TheFileTheConversionAndTheNumberingOfTheCommit) {
  BatchPlan plan;
  plan.outputFormat = "tiff";
  FileToConvert file;
  file.inputFile = "/in/IMG_0001.CR2";
  file.numbering = {1, 11111, 8};
  ConvertedFile converted;
  converted.outputBitDepth = 16;
  converted.imageWidth = 640;
  converted.imageHeight = 480;
  converted.frameNumber = 2;
  const FileNumbering numbering{4, 4711, 24};
  const TokenValues values = OutputNameValues(plan, file, converted, numbering);
  EXPECT_EQ(values.inputFile, "/in/IMG_0001.CR2");
  EXPECT_EQ(values.outputFormat, "tiff");
  EXPECT_EQ(values.bitDepth, 16) << "the file's final depth, not the previous file's";
  EXPECT_EQ(values.imageWidth, 640);
  EXPECT_EQ(values.imageHeight, 480);
  EXPECT_EQ(values.frameNumber, 2);
  EXPECT_EQ(values.randomNumber, 4711);
  EXPECT_EQ(values.fileCounter, 4);
  EXPECT_FALSE(values.moment.has_value()) << "the date tokens read the clock";
}

}  // namespace
}  // namespace lumivane::testing
