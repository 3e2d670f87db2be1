#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "batch/output_naming.h"
#include "pipeline/encode_image.h"
#include "pipeline/encode_support.h"
#include "pipeline/encoder_setup.h"
#include "pipeline/output_depth.h"
#include "support/small_disk.h"
#include "support/temp_dir.h"

namespace lumivane::testing {
namespace {

using Bitmap = std::unique_ptr<FIBITMAP, BitmapDeleter>;

constexpr const char* kOlderOutput = "older output";

struct RouteCase {
  const char* format;
  int depth;
  ColorTable bmpColorTable;
  unsigned width;
  unsigned height;
};

// One picture per route: FreeImage, DevIL, jxrlib and the exact-palette BMP.
const RouteCase kRoutes[] = {
    {"png", 24, ColorTable::kAuto, 64, 40},
    {"tiff", 24, ColorTable::kAuto, 64, 40},
    {"psd", 32, ColorTable::kAuto, 64, 40},
    {"pcx", 24, ColorTable::kAuto, 64, 40},
    {"jxr", 24, ColorTable::kAuto, 64, 40},
    {"bmp", 8, ColorTable::kExact, 64, 40},
};

Bitmap MakeImage(const RouteCase& row, bool noise) {
  int depth = row.depth;
  return Bitmap(
      ConvertToOutputDepth(noise ? MakeNoiseImage(row.width, row.height) : MakeQuadrantImage(row.width, row.height),
                           FormatRow(row.format), depth, false, 24));
}

EncodeRequest RequestOf(const RouteCase& row) {
  EncodeRequest request = RequestFor(row.format, row.depth, row.format == std::string("jxr") ? 100 : 0);
  request.bmpColorTable = row.bmpColorTable;
  return request;
}

TEST(EncodeImageFile, EveryRouteGivesAFileThatReplacesAnOlderOutputOfTheSameName) {
  InitialiseEncoders();
  for (const RouteCase& row : kRoutes) {
    SCOPED_TRACE(row.format);
    TempDir dir;
    const std::string folder = dir.path().string() + "/";
    dir.WriteFile("out." + std::string(row.format), kOlderOutput);
    const Bitmap image = MakeImage(row, false);
    const std::string path = EncodeToFile(image.get(), RequestOf(row), folder);
    ASSERT_EQ(path, OutputPathIn(folder, row.format));
    EXPECT_NE(ReadFileBytes(path), kOlderOutput);
    EXPECT_TRUE(ReadOutput(path, row.format).ok);
    EXPECT_EQ(FolderEntries(dir.path().string()), std::vector<std::string>{"out." + std::string(row.format)});
  }
}

struct FailureCase {
  const char* label;
  RouteCase route;
  int imageDepth;  // the depth the image really has, which its encoder refuses
};

FIBITMAP* MakeImageOfDepth(unsigned width, unsigned height, int depth) {
  int outputDepth = depth;
  return ConvertToOutputDepth(MakeQuadrantImage(width, height), FormatRow("png"), outputDepth, false, 24);
}

// A refused image gives no bytes at all, so nothing reaches the output or a temporary file.
TEST(EncodeImageFile, AnEncoderThatRefusesTheImageGivesNoBytes) {
  InitialiseEncoders();
  const FailureCase cases[] = {
      {"icon that is not square", {"ico", 24, ColorTable::kAuto, 30, 20}, 24},
      {"psd from 16 bits", {"psd", 16, ColorTable::kAuto, 32, 32}, 16},
      {"jxr from 4 bits", {"jxr", 4, ColorTable::kAuto, 32, 32}, 4},
      {"exact palette from 24 bits", {"bmp", 8, ColorTable::kExact, 32, 32}, 24},
      {"gif from 96 bits", {"gif", 96, ColorTable::kAuto, 32, 32}, 96},
  };
  for (const FailureCase& row : cases) {
    SCOPED_TRACE(row.label);
    TempDir dir;
    dir.WriteFile("out." + std::string(row.route.format), kOlderOutput);
    const Bitmap image(MakeImageOfDepth(row.route.width, row.route.height, row.imageDepth));
    ASSERT_NE(image, nullptr);
    EXPECT_FALSE(EncodeImageFile(image.get(), RequestOf(row.route)).has_value());
    EXPECT_EQ(EncodeToFile(image.get(), RequestOf(row.route), dir.path().string() + "/"), "");
    EXPECT_EQ(ReadFileBytes(OutputPathIn(dir.path().string() + "/", row.route.format)), kOlderOutput);
    EXPECT_EQ(FolderEntries(dir.path().string()), std::vector<std::string>{"out." + std::string(row.route.format)});
  }
}

TEST(EncodeImageFile, GivesNoBytesWithoutAnImageOrForAnUnknownFormat) {
  InitialiseEncoders();
  EXPECT_FALSE(EncodeImageFile(nullptr, RequestFor("png", 24, 0)).has_value());
  const Bitmap image(MakeQuadrantImage(16, 16));
  EXPECT_FALSE(EncodeImageFile(image.get(), RequestFor("raw", 24, 0)).has_value());
  EXPECT_FALSE(EncodeImageFile(image.get(), RequestFor("PNG", 24, 0)).has_value());
  EXPECT_TRUE(EncodeImageFile(image.get(), RequestFor("png", 24, 0)).has_value());
}

// The write of an output happens in the batch's commit, whatever route encoded the bytes.
class CommitEncodedOutput : public ::testing::Test {
 protected:
  // Commits the route's encoding of the image as the output of "<input folder>/out.<ext>" into folder.
  ConvertedFile Commit(const RouteCase& row, FIBITMAP* image, const std::string& folder) {
    BatchPlan plan;
    ResetSettings(plan.settings, true);
    plan.outputFormat = row.format;
    plan.outputFolder = folder;
    FileToConvert file;
    file.inputFile = "/nowhere/out.dng";
    ConvertedFile converted;
    converted.outputBitDepth = row.depth;
    std::optional<std::vector<unsigned char>> bytes = EncodeImageFile(image, RequestOf(row));
    EXPECT_TRUE(bytes.has_value());
    if (bytes) converted.encoded = std::move(*bytes);
    EXPECT_EQ(CommitConvertedFile(plan, ProtectedInputs{}, file, file.numbering, converted),
              OutputPathIn(folder, row.format));
    return converted;
  }
};

TEST_F(CommitEncodedOutput, FailsIntoAFolderThatDoesNotExist) {
  InitialiseEncoders();
  for (const RouteCase& row : kRoutes) {
    SCOPED_TRACE(row.format);
    TempDir dir;
    const Bitmap image = MakeImage(row, false);
    const ConvertedFile converted = Commit(row, image.get(), dir.path().string() + "/missing/");
    EXPECT_EQ(converted.failure, ConversionFailure::kWriteFailed);
    EXPECT_TRUE(FolderEntries(dir.path().string()).empty());
  }
}

TEST_F(CommitEncodedOutput, ASaveOntoAFullDiskFailsAndLeavesTheOlderOutputWhole) {
  InitialiseEncoders();
  SmallDisk disk;
  if (!disk.mounted()) GTEST_SKIP() << "cannot mount a small tmpfs here: " << disk.error();
  for (RouteCase row : kRoutes) {
    SCOPED_TRACE(row.format);
    // Noise of 256 x 256 needs far more than 64 KiB in every format.
    row.width = 256;
    row.height = 256;
    const std::string folder = disk.dir().path().string() + "/";
    disk.dir().WriteFile("out." + std::string(row.format), kOlderOutput);
    const Bitmap image = MakeImage(row, true);
    ASSERT_NE(image, nullptr);
    const ConvertedFile converted = Commit(row, image.get(), folder);
    EXPECT_EQ(converted.failure, ConversionFailure::kWriteFailed);
    EXPECT_EQ(ReadFileBytes(OutputPathIn(folder, row.format)), kOlderOutput);
    EXPECT_EQ(FolderEntries(disk.dir().path().string()), std::vector<std::string>{"out." + std::string(row.format)});
    std::filesystem::remove(OutputPathIn(folder, row.format));
  }
}

}  // namespace
}  // namespace lumivane::testing
