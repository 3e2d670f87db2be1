#include "pipeline/metadata_holder.h"

#include <gtest/gtest.h>

#include <string>

#include "pipeline/decode.h"
#include "dng/dng_writer.h"
#include "support/temp_dir.h"
#include "support/unique_bitmap.h"

namespace lumivane::testing {
namespace {

std::string TagText(FIBITMAP* image, FREE_IMAGE_MDMODEL model, const char* key) {
  FITAG* tag = nullptr;
  if (!FreeImage_GetMetadata(model, image, key, &tag)) return "";
  return FreeImage_TagToString(model, tag);
}

TEST(MetadataHolder, KeepsTheDecodedMetadataAfterTheImageIsGone) {
  TempDir dir;
  DngContent content;
  content.previewWidth = 32;
  content.previewHeight = 24;
  content.previewComment = "kept";
  const std::string path = dir / "a.dng";
  ASSERT_TRUE(WriteDngFile(path, content));

  FIBITMAP* decoded = DecodeInputImage(path, {RawLoadAs::kAuto, {}}).image.release();
  ASSERT_NE(decoded, nullptr);
  const UniqueBitmap holder(CreateMetadataHolder(decoded));
  FreeImage_Unload(decoded);
  ASSERT_NE(holder, nullptr);
  EXPECT_EQ(FreeImage_GetWidth(holder.get()), 10U);
  EXPECT_EQ(FreeImage_GetHeight(holder.get()), 10U);
  EXPECT_EQ(FreeImage_GetBPP(holder.get()), 8U);
  EXPECT_EQ(TagText(holder.get(), FIMD_EXIF_MAIN, "Make"), "Lumivane");
  EXPECT_EQ(TagText(holder.get(), FIMD_COMMENTS, "Comment"), "kept");

  // What the encoder does before saving: the final image gets the metadata back.
  const UniqueBitmap final(FreeImage_Allocate(4, 4, 24));
  ASSERT_TRUE(FreeImage_CloneMetadata(final.get(), holder.get()));
  EXPECT_EQ(TagText(final.get(), FIMD_EXIF_MAIN, "Model"), "Test Sensor");
}

TEST(MetadataHolder, NoImageNoHolder) { EXPECT_EQ(CreateMetadataHolder(nullptr), nullptr); }

}  // namespace
}  // namespace lumivane::testing
