#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include <unistd.h>

#include "formats/registry.h"
#include "pipeline/encode_image.h"
#include "pipeline/encode_support.h"
#include "pipeline/encoder_setup.h"
#include "pipeline/output_depth.h"
#include "support/temp_dir.h"

namespace lumivane::testing {
namespace {

// Points standard error at a file for its lifetime; Text() returns what was written meanwhile.
class StandardErrorCapture {
 public:
  explicit StandardErrorCapture(const std::string& path) : path_(path) {
    std::fflush(stderr);
    saved_ = dup(STDERR_FILENO);
    FILE* file = std::fopen(path.c_str(), "w");
    dup2(fileno(file), STDERR_FILENO);
    std::fclose(file);
  }
  ~StandardErrorCapture() { Restore(); }
  std::string Text() {
    Restore();
    return ReadFileBytes(path_);
  }

 private:
  void Restore() {
    if (saved_ < 0) return;
    std::fflush(stderr);
    dup2(saved_, STDERR_FILENO);
    close(saved_);
    saved_ = -1;
  }
  std::string path_;
  int saved_ = -1;
};

void AddTag(FIBITMAP* holder, FREE_IMAGE_MDMODEL model, const char* key, WORD id, FREE_IMAGE_MDTYPE type,
            DWORD count, DWORD length, const void* value) {
  FITAG* tag = FreeImage_CreateTag();
  FreeImage_SetTagKey(tag, key);
  FreeImage_SetTagID(tag, id);
  FreeImage_SetTagType(tag, type);
  FreeImage_SetTagCount(tag, count);
  FreeImage_SetTagLength(tag, length);
  FreeImage_SetTagValue(tag, value);
  FreeImage_SetMetadata(model, holder, key, tag);
  FreeImage_DeleteTag(tag);
}

// A metadata holder with camera tags. With any main EXIF tag present, FreeImage's TIFF encoder asks libtiff about
// every EXIF tag it knows, and libtiff reports each one it does not know as an error.
FIBITMAP* MakeHolderWithExif() {
  FIBITMAP* holder = FreeImage_AllocateT(FIT_BITMAP, 10, 10, 8, 0, 0, 0);
  const char make[] = "Tarnwick";
  AddTag(holder, FIMD_EXIF_MAIN, "Make", 0x010f, FIDT_ASCII, sizeof(make), sizeof(make), make);
  const DWORD exposure[2] = {1, 125};
  AddTag(holder, FIMD_EXIF_EXIF, "ExposureTime", 0x829a, FIDT_RATIONAL, 1, sizeof(exposure), exposure);
  return holder;
}

// Encodes and writes the output as a batch does; true when the file was written.
bool Encode(const TempDir& dir, const std::string& format, int depth, unsigned width, unsigned height,
            FIBITMAP* holder) {
  std::unique_ptr<FIBITMAP, BitmapDeleter> image(
      ConvertToOutputDepth(MakeQuadrantImage(width, height), FormatRow(format), depth, false, 24));
  if (holder != nullptr) FreeImage_CloneMetadata(image.get(), holder);  // as a decoder attaches it
  const EncodeRequest request = RequestFor(format, depth, format == "jxr" ? 100 : 0);
  return !EncodeToFile(image.get(), request, dir.path().string() + "/").empty();
}

TEST(QuietEncoders, NoRoutePrintsOnStandardErrorWhetherItSucceedsOrFails) {
  InitialiseEncoders();
  TempDir dir;
  std::unique_ptr<FIBITMAP, BitmapDeleter> holder(MakeHolderWithExif());
  StandardErrorCapture capture(dir / "stderr.txt");
  EXPECT_TRUE(Encode(dir, "tiff", 24, 32, 24, holder.get()));  // libtiff: unknown EXIF tags
  EXPECT_TRUE(Encode(dir, "jpg", 24, 32, 24, holder.get()));
  EXPECT_FALSE(Encode(dir, "ico", 24, 32, 24, holder.get()));  // FreeImage: unsupported icon size
  EXPECT_TRUE(Encode(dir, "psd", 32, 32, 24, nullptr));
  EXPECT_TRUE(Encode(dir, "dds", 32, 32, 24, nullptr));
  EXPECT_TRUE(Encode(dir, "pcx", 24, 32, 24, nullptr));
  EXPECT_FALSE(Encode(dir, "psd", 16, 32, 24, nullptr));
  EXPECT_TRUE(Encode(dir, "jxr", 24, 32, 24, nullptr));
  EXPECT_EQ(capture.Text(), "");
}

}  // namespace
}  // namespace lumivane::testing
