#include <gtest/gtest.h>

#include <IL/il.h>

#include <memory>
#include <string>

#include "pipeline/encode_devil.h"
#include "pipeline/encode_image.h"
#include "pipeline/encode_support.h"
#include "pipeline/encoder_setup.h"
#include "pipeline/output_depth.h"
#include "support/temp_dir.h"

namespace lumivane::testing {
namespace {

using Bitmap = std::unique_ptr<FIBITMAP, BitmapDeleter>;

unsigned Byte(const std::string& bytes, std::size_t at) { return static_cast<unsigned char>(bytes.at(at)); }

struct DevilCase {
  const char* format;
  int expectedDepth;      // automatic depth from a 24-bit picture
  int expectedMipmaps;    // below the 64 x 40 base image: 32x20 16x10 8x5 4x2 2x1 1x1
};

TEST(DevilRoute, WritesPsdAndDdsAsBgraAndPcxAsBgrWithMipmapsOnlyForDds) {
  InitialiseEncoders();
  for (const DevilCase row : {DevilCase{"psd", 32, 0}, DevilCase{"dds", 32, 6}, DevilCase{"pcx", 24, 0}}) {
    SCOPED_TRACE(row.format);
    TempDir dir;
    int depth = 0;
    const Bitmap image(ConvertToOutputDepth(MakeQuadrantImage(64, 40), FormatRow(row.format), depth, true, 24));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(depth, row.expectedDepth);
    const std::string path =
        EncodeToFile(image.get(), RequestFor(row.format, depth, 0), dir.path().string() + "/");
    ASSERT_NE(path, "");
    const DecodedImage decoded = ReadWithDevil(path);
    ASSERT_TRUE(decoded.ok);
    EXPECT_EQ(decoded.bitsPerPixel, row.expectedDepth);
    EXPECT_EQ(decoded.mipmaps, row.expectedMipmaps);
  }
}

// The file layouts themselves: the psd channel count, the dds mipmap count, the pcx planes.
TEST(DevilRoute, FileHeadersShowTheChannelsAndMipmaps) {
  const Bitmap trueColour(MakeQuadrantImage(64, 40));
  const Bitmap withAlpha(FreeImage_ConvertTo32Bits(trueColour.get()));
  const auto psd24 = EncodeWithDevil(trueColour.get(), IL_PSD, false);
  const auto psd32 = EncodeWithDevil(withAlpha.get(), IL_PSD, false);
  const auto dds = EncodeWithDevil(withAlpha.get(), IL_DDS, true);
  const auto pcx = EncodeWithDevil(trueColour.get(), IL_PCX, false);
  ASSERT_TRUE(psd24 && psd32 && dds && pcx);
  const std::string psd24Bytes(psd24->begin(), psd24->end());
  const std::string psd32Bytes(psd32->begin(), psd32->end());
  const std::string ddsBytes(dds->begin(), dds->end());
  const std::string pcxBytes(pcx->begin(), pcx->end());

  EXPECT_EQ(psd32Bytes.substr(0, 4), "8BPS");
  EXPECT_EQ(Byte(psd32Bytes, 12) << 8 | Byte(psd32Bytes, 13), 4u);  // channels
  EXPECT_EQ(Byte(psd24Bytes, 12) << 8 | Byte(psd24Bytes, 13), 3u);

  EXPECT_EQ(ddsBytes.substr(0, 4), "DDS ");
  EXPECT_EQ(Byte(ddsBytes, 12), 40u);  // height
  EXPECT_EQ(Byte(ddsBytes, 16), 64u);  // width
  EXPECT_EQ(Byte(ddsBytes, 28), 7u);   // mipmap count, the base image included

  EXPECT_EQ(Byte(pcxBytes, 0), 0x0Au);
  EXPECT_EQ(Byte(pcxBytes, 3), 8u);   // bits per pixel and plane
  EXPECT_EQ(Byte(pcxBytes, 65), 3u);  // planes: red, green, blue
}

TEST(DevilRoute, RefusesDepthsOtherThanTwentyFourAndThirtyTwo) {
  InitialiseEncoders();
  const Bitmap source(MakeQuadrantImage(16, 16));
  const Bitmap grey(FreeImage_ConvertTo8Bits(source.get()));
  const Bitmap highColour(FreeImage_ConvertTo16Bits565(source.get()));
  const Bitmap deep(FreeImage_ConvertToRGB16(source.get()));
  for (FIBITMAP* image : {grey.get(), highColour.get(), deep.get()}) {
    EXPECT_FALSE(EncodeWithDevil(image, IL_PSD, false).has_value()) << FreeImage_GetBPP(image);
  }
  EXPECT_FALSE(EncodeWithDevil(nullptr, IL_PSD, false).has_value());
}

TEST(DevilRoute, EachSaveStartsFromACleanState) {
  // DevIL's state is process-wide; a dds with mipmaps must not leave anything behind for the next save.
  const Bitmap image(FreeImage_ConvertTo32Bits(Bitmap(MakeQuadrantImage(64, 40)).get()));
  const auto first = EncodeWithDevil(image.get(), IL_DDS, true);
  const auto second = EncodeWithDevil(image.get(), IL_DDS, true);
  const auto psd = EncodeWithDevil(image.get(), IL_PSD, false);
  const auto psdAgain = EncodeWithDevil(image.get(), IL_PSD, false);
  ASSERT_TRUE(first && second && psd && psdAgain);
  EXPECT_EQ(*first, *second);
  EXPECT_EQ(*psd, *psdAgain);
}

}  // namespace
}  // namespace lumivane::testing
