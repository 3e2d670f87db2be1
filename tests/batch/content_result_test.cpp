// What travels to and from a worker: every field comes back, and anything but one whole message is refused.
#include "batch/content_result.h"

#include <gtest/gtest.h>

#include "batch/content_request.h"
#include "batch/worker_greeting.h"

namespace lumivane::testing {
namespace {

ConvertedFile Filled(ConversionFailure failure) {
  ConvertedFile converted;
  converted.failure = failure;
  converted.detail = failure == ConversionFailure::kNone ? "" : "an edit step yields no image";
  converted.sourceBitDepth = 48;
  converted.outputBitDepth = 24;
  converted.imageWidth = 640;
  converted.imageHeight = 480;
  converted.frameNumber = 1;
  converted.encoded = {0xFF, 0xD8, 0x00, 0x10, 0xFF, 0xD9};
  return converted;
}

TEST(ContentResult, EveryFieldAndTheBytesComeBack) {
  for (const ConversionFailure failure : {ConversionFailure::kNone, ConversionFailure::kEditFailed}) {
    SCOPED_TRACE(FailureReasonCode(failure));
    const ConvertedFile sent = Filled(failure);
    const std::vector<unsigned char> packed = PackContentResult(sent);
    ConvertedFile back;
    back.detail = "stale";
    back.encoded = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    ASSERT_TRUE(UnpackContentResult(packed, back));
    EXPECT_EQ(back.Converted(), failure == ConversionFailure::kNone);
    EXPECT_EQ(back.encoded, sent.encoded);
    EXPECT_EQ(back.failure, failure);
    EXPECT_EQ(back.detail, sent.detail);
    EXPECT_EQ(back.sourceBitDepth, 48);
    EXPECT_EQ(back.outputBitDepth, 24);
    EXPECT_EQ(back.imageWidth, 640);
    EXPECT_EQ(back.imageHeight, 480);
    EXPECT_EQ(back.frameNumber, 1);
  }
}

TEST(ContentResult, AnythingButOneWholeResultIsRefused) {
  ConvertedFile sent = Filled(ConversionFailure::kNone);
  sent.encoded.assign(100, 7);
  const std::vector<unsigned char> packed = PackContentResult(sent);
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
    ConvertedFile file;
    file.encoded = {1};
    EXPECT_FALSE(UnpackContentResult(refused[i], file)) << i;
    EXPECT_EQ(file.encoded, std::vector<unsigned char>{1}) << i;
    EXPECT_EQ(file.sourceBitDepth, 0) << i;
  }
}

TEST(ContentRequest, TheFileWithItsNumberingComesBack) {
  FileToConvert file;
  file.inputFile = std::string("/in/odd \n name \xff.dng");
  file.relativeSubfolder = "sub/";
  file.numbering.randomNumber = 4711;
  file.numbering.fileCounter = 12;
  file.numbering.previousOutputBitDepth = 8;
  const std::vector<unsigned char> packed = PackContentRequest(file);

  FileToConvert back;
  back.inputFile = "/stale.dng";
  back.relativeSubfolder = "stale/";
  ASSERT_TRUE(UnpackContentRequest(packed, back));
  EXPECT_EQ(back.numbering.randomNumber, 4711);
  EXPECT_EQ(back.numbering.fileCounter, 12);
  EXPECT_EQ(back.numbering.previousOutputBitDepth, 8);
  EXPECT_EQ(back.inputFile, file.inputFile);
  EXPECT_EQ(back.relativeSubfolder, "sub/");

  std::vector<unsigned char> longer = packed;
  longer.push_back(0);
  std::vector<unsigned char> wrongMarker = packed;
  wrongMarker[1] ^= 0xFF;
  for (const std::vector<unsigned char>& refused :
       {std::vector<unsigned char>{}, std::vector<unsigned char>(packed.begin(), packed.end() - 1), longer,
        wrongMarker}) {
    FileToConvert untouched;
    untouched.numbering.fileCounter = 3;
    untouched.inputFile = "/keep";
    EXPECT_FALSE(UnpackContentRequest(refused, untouched)) << refused.size();
    EXPECT_EQ(untouched.numbering.fileCounter, 3);
    EXPECT_EQ(untouched.inputFile, "/keep");
  }
}

// The plan a worker starts from is the main process's, bit for bit: six decimals would round a gamma.
TEST(WorkerGreeting, ThePlanComesBackExactlyAndACutGreetingIsRefused) {
  WorkerGreeting sent{
      .plan = {.outputFormat = "tiff", .outputFolder = "/out/"}, .watermarkFont = true, .libraryThreads = 3};
  ResetSettings(sent.plan.settings, true);
  sent.plan.settings.adjustment.imageGamma = 1.2345678f;
  sent.plan.settings.watermark.text = "line\r\nnext \xff";
  sent.plan.settings.transform.imageRotation = -90;
  const std::vector<unsigned char> packed = PackWorkerGreeting(sent);
  WorkerGreeting back;
  ASSERT_TRUE(UnpackWorkerGreeting(packed, back));
  EXPECT_TRUE(back.plan.settings == sent.plan.settings);
  EXPECT_EQ(back.plan.outputFormat, "tiff");
  EXPECT_EQ(back.plan.outputFolder, "/out/");
  EXPECT_TRUE(back.watermarkFont);
  EXPECT_EQ(back.libraryThreads, 3);
  EXPECT_FALSE(UnpackWorkerGreeting(std::span(packed).first(packed.size() - 1), back));
}

}  // namespace
}  // namespace lumivane::testing
