// What travels to and from a worker: every field comes back, and anything but one whole message is refused.
#include "batch/content_request.h"
#include "batch/content_result.h"

#include <gtest/gtest.h>

namespace lumivane::testing {
namespace {

FileConversion Filled() {
  FileConversion file;
  file.inputFile = "/in/a.dng";
  file.failure = ConversionFailure::kEditFailed;
  file.failureText = "an edit step yields no image";
  file.sourceBitDepth = 48;
  file.outputBitDepth = 24;
  file.imageWidth = 640;
  file.imageHeight = 480;
  file.frameNumber = 1;
  return file;
}

TEST(ContentResult, EveryFieldAndTheBytesComeBack) {
  for (const bool ok : {true, false}) {
    const std::vector<unsigned char> encoded = {0xFF, 0xD8, 0x00, 0x10, 0xFF, 0xD9};
    const std::vector<unsigned char> packed = PackContentResult(ok, Filled(), encoded);
    FileConversion back;
    back.inputFile = "/in/a.dng";
    std::vector<unsigned char> bytes;
    const std::optional<bool> result = UnpackContentResult(packed, back, bytes);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(*result, ok);
    EXPECT_EQ(bytes, encoded);
    EXPECT_EQ(back.failure, ConversionFailure::kEditFailed);
    EXPECT_EQ(back.failureText, "an edit step yields no image");
    EXPECT_EQ(back.sourceBitDepth, 48);
    EXPECT_EQ(back.outputBitDepth, 24);
    EXPECT_EQ(back.imageWidth, 640);
    EXPECT_EQ(back.imageHeight, 480);
    EXPECT_EQ(back.frameNumber, 1);
    EXPECT_EQ(back.inputFile, "/in/a.dng") << "fields the worker does not fill stay";
  }
}

TEST(ContentResult, AnythingButOneWholeResultIsRefused) {
  const std::vector<unsigned char> packed = PackContentResult(true, Filled(), std::vector<unsigned char>(100, 7));
  std::vector<unsigned char> longer = packed;
  longer.push_back(0);
  std::vector<unsigned char> wrongMarker = packed;
  wrongMarker[0] ^= 0xFF;
  const std::vector<std::vector<unsigned char>> refused = {
      {},
      std::vector<unsigned char>(packed.begin(), packed.begin() + 10),
      std::vector<unsigned char>(packed.begin(), packed.end() - 1),
      longer,
      wrongMarker,
  };
  for (std::size_t i = 0; i < refused.size(); ++i) {
    FileConversion file;
    std::vector<unsigned char> bytes = {1};
    EXPECT_FALSE(UnpackContentResult(refused[i], file, bytes).has_value()) << i;
    EXPECT_EQ(bytes, std::vector<unsigned char>{1}) << i;
    EXPECT_EQ(file.sourceBitDepth, 0) << i;
  }
}

TEST(ContentRequest, TheFileAndTheJobsCountersComeBackAndNothingElse) {
  JobRecord job;
  job.randomNumber = 4711;
  job.fileCounter = 12;
  job.previousOutputBitDepth = 8;
  FileConversion file;
  file.inputFile = std::string("/in/odd \n name \xff.dng");
  file.relativeSubfolder = "sub/";
  file.outputFile = "/out/not sent.jpg";
  const std::vector<unsigned char> packed = PackContentRequest(job, file);

  JobRecord back;
  back.outputFormat = "jpg";
  FileConversion backFile;
  backFile.outputFile = "/stale.jpg";
  ASSERT_TRUE(UnpackContentRequest(packed, back, backFile));
  EXPECT_EQ(back.randomNumber, 4711);
  EXPECT_EQ(back.fileCounter, 12);
  EXPECT_EQ(back.previousOutputBitDepth, 8);
  EXPECT_EQ(back.outputFormat, "jpg") << "the rest of the job is the worker's own";
  EXPECT_EQ(backFile.inputFile, file.inputFile);
  EXPECT_EQ(backFile.relativeSubfolder, "sub/");
  EXPECT_EQ(backFile.outputFile, "") << "a file starts afresh in the worker";

  std::vector<unsigned char> longer = packed;
  longer.push_back(0);
  std::vector<unsigned char> wrongMarker = packed;
  wrongMarker[1] ^= 0xFF;
  for (const std::vector<unsigned char>& refused :
       {std::vector<unsigned char>{}, std::vector<unsigned char>(packed.begin(), packed.end() - 1), longer,
        wrongMarker}) {
    JobRecord untouched;
    untouched.fileCounter = 3;
    FileConversion untouchedFile;
    untouchedFile.inputFile = "/keep";
    EXPECT_FALSE(UnpackContentRequest(refused, untouched, untouchedFile)) << refused.size();
    EXPECT_EQ(untouched.fileCounter, 3);
    EXPECT_EQ(untouchedFile.inputFile, "/keep");
  }
}

}  // namespace
}  // namespace lumivane::testing
