#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

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
  int bmpColorTable;
  unsigned width;
  unsigned height;
};

// One picture per route: FreeImage, DevIL, jxrlib and the exact-palette BMP.
const RouteCase kRoutes[] = {
    {"png", 24, 0, 64, 40},
    {"tiff", 24, 0, 64, 40},
    {"psd", 32, 0, 64, 40},
    {"pcx", 24, 0, 64, 40},
    {"jxr", 24, 0, 64, 40},
    {"bmp", 8, kBmpColorTableExact, 64, 40},
};

Bitmap MakeImage(const RouteCase& row, bool noise) {
  int depth = row.depth;
  return Bitmap(ConvertToOutputDepth(noise ? MakeNoiseImage(row.width, row.height) : MakeQuadrantImage(row.width, row.height),
                                     row.format, depth, false, 24));
}

EncodeRequest RequestIn(const std::string& folder, const RouteCase& row) {
  EncodeRequest request = RequestFor(folder, row.format, row.depth, row.format == std::string("jxr") ? 100 : 0);
  request.bmpColorTable = row.bmpColorTable;
  return request;
}

TEST(EncodeImage, EveryRouteReplacesAnOlderOutputOfTheSameName) {
  InitialiseEncoders();
  for (const RouteCase& row : kRoutes) {
    SCOPED_TRACE(row.format);
    TempDir dir;
    const EncodeRequest request = RequestIn(dir.path().string() + "/", row);
    dir.WriteFile("out." + std::string(row.format), kOlderOutput);
    const Bitmap image = MakeImage(row, false);
    ASSERT_TRUE(EncodeImage(image.get(), nullptr, request));
    EXPECT_NE(ReadFileBytes(request.outputPath), kOlderOutput);
    EXPECT_TRUE(ReadOutput(request.outputPath, row.format).ok);
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
  return ConvertToOutputDepth(MakeQuadrantImage(width, height), "png", outputDepth, false, 24);
}

TEST(EncodeImage, AFailedSaveLeavesAnOlderOutputWholeAndNoTemporaryFile) {
  InitialiseEncoders();
  const FailureCase cases[] = {
      {"icon that is not square", {"ico", 24, 0, 30, 20}, 24},
      {"psd from 16 bits", {"psd", 16, 0, 32, 32}, 16},
      {"jxr from 4 bits", {"jxr", 4, 0, 32, 32}, 4},
      {"exact palette from 24 bits", {"bmp", 8, kBmpColorTableExact, 32, 32}, 24},
      {"gif from 96 bits", {"gif", 96, 0, 32, 32}, 96},
  };
  for (const FailureCase& row : cases) {
    SCOPED_TRACE(row.label);
    TempDir dir;
    const EncodeRequest request = RequestIn(dir.path().string() + "/", row.route);
    dir.WriteFile("out." + std::string(row.route.format), kOlderOutput);
    const Bitmap image(MakeImageOfDepth(row.route.width, row.route.height, row.imageDepth));
    ASSERT_NE(image, nullptr);
    EXPECT_FALSE(EncodeImage(image.get(), nullptr, request));
    EXPECT_EQ(ReadFileBytes(request.outputPath), kOlderOutput);
    EXPECT_EQ(FolderEntries(dir.path().string()), std::vector<std::string>{"out." + std::string(row.route.format)});
  }
}

TEST(EncodeImage, FailsIntoAFolderThatDoesNotExist) {
  InitialiseEncoders();
  for (const RouteCase& row : kRoutes) {
    SCOPED_TRACE(row.format);
    TempDir dir;
    const EncodeRequest request = RequestIn(dir.path().string() + "/missing/", row);
    const Bitmap image = MakeImage(row, false);
    EXPECT_FALSE(EncodeImage(image.get(), nullptr, request));
    EXPECT_TRUE(FolderEntries(dir.path().string()).empty());
  }
}

TEST(EncodeImage, FailsWithoutAnImage) {
  TempDir dir;
  EXPECT_FALSE(EncodeImage(nullptr, nullptr, RequestFor(dir.path().string() + "/", "png", 24, 0)));
  EXPECT_TRUE(FolderEntries(dir.path().string()).empty());
}

TEST(EncodeImage, ASaveOntoAFullDiskFailsAndLeavesTheOlderOutputWhole) {
  InitialiseEncoders();
  SmallDisk disk;
  if (!disk.mounted()) GTEST_SKIP() << "cannot mount a small tmpfs here: " << disk.error();
  for (RouteCase row : kRoutes) {
    SCOPED_TRACE(row.format);
    // Noise of 256 x 256 needs far more than 64 KiB in every format.
    row.width = 256;
    row.height = 256;
    const EncodeRequest request = RequestIn(disk.dir().path().string() + "/", row);
    disk.dir().WriteFile("out." + std::string(row.format), kOlderOutput);
    const Bitmap image = MakeImage(row, true);
    ASSERT_NE(image, nullptr);
    EXPECT_FALSE(EncodeImage(image.get(), nullptr, request));
    EXPECT_EQ(ReadFileBytes(request.outputPath), kOlderOutput);
    EXPECT_EQ(FolderEntries(disk.dir().path().string()), std::vector<std::string>{"out." + std::string(row.format)});
    std::filesystem::remove(request.outputPath);
  }
}

TEST(EncodeImage, TheFreeImageRouteCarriesTheHolderMetadataIntoTheFile) {
  InitialiseEncoders();
  TempDir dir;
  Bitmap holder(FreeImage_AllocateT(FIT_BITMAP, 10, 10, 8, 0, 0, 0));
  FITAG* tag = FreeImage_CreateTag();
  const char comment[] = "converted by a test";
  FreeImage_SetTagKey(tag, "Comment");
  FreeImage_SetTagType(tag, FIDT_ASCII);
  FreeImage_SetTagCount(tag, sizeof(comment));
  FreeImage_SetTagLength(tag, sizeof(comment));
  FreeImage_SetTagValue(tag, comment);
  FreeImage_SetMetadata(FIMD_COMMENTS, holder.get(), "Comment", tag);
  FreeImage_DeleteTag(tag);

  const Bitmap image(MakeQuadrantImage(32, 32));
  const EncodeRequest request = RequestFor(dir.path().string() + "/", "jpg", 24, 90);
  ASSERT_TRUE(EncodeImage(image.get(), holder.get(), request));
  const Bitmap back(FreeImage_Load(FIF_JPEG, request.outputPath.c_str(), 0));
  ASSERT_NE(back, nullptr);
  FITAG* read = nullptr;
  ASSERT_TRUE(FreeImage_GetMetadata(FIMD_COMMENTS, back.get(), "Comment", &read));
  EXPECT_STREQ(static_cast<const char*>(FreeImage_GetTagValue(read)), comment);
}

}  // namespace
}  // namespace lumivane::testing
