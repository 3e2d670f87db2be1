#include "pipeline/tone_map.h"

#include <gtest/gtest.h>

#include "pipeline/decode.h"
#include "support/unique_bitmap.h"

namespace lumivane::testing {
namespace {

// A 48-bit image with a ramp in each channel, as linear camera data looks.
FIBITMAP* MakeRamp48() {
  FIBITMAP* image = FreeImage_AllocateT(FIT_RGB16, 64, 32);
  if (image == nullptr) return nullptr;
  for (unsigned y = 0; y < 32; ++y) {
    auto* row = reinterpret_cast<FIRGB16*>(FreeImage_GetScanLine(image, static_cast<int>(y)));
    for (unsigned x = 0; x < 64; ++x) row[x] = {static_cast<WORD>(x * 1000), static_cast<WORD>(y * 2000), 12000};
  }
  return image;
}

TEST(ToneMapImage, EachOperatorTurns48BitsInto24) {
  for (const ToneMapping code :
       {ToneMapping::kLinear, ToneMapping::kDrago, ToneMapping::kReinhard, ToneMapping::kFattal}) {
    for (const RawLoadAs rawLoadAs : {RawLoadAs::k48HalfSize, RawLoadAs::k48}) {
      SCOPED_TRACE(::testing::Message() << "tone mapping " << CodeOf(code) << ", load as " << CodeOf(rawLoadAs));
      const UniqueBitmap mapped(ToneMapImage(MakeRamp48(), rawLoadAs, code));
      ASSERT_NE(mapped, nullptr);
      EXPECT_EQ(FreeImage_GetImageType(mapped.get()), FIT_BITMAP);
      EXPECT_EQ(FreeImage_GetBPP(mapped.get()), 24U);
      EXPECT_EQ(FreeImage_GetWidth(mapped.get()), 64U);
      EXPECT_EQ(FreeImage_GetHeight(mapped.get()), 32U);
      // The red ramp survives: brighter on the right.
      const BYTE* middle = FreeImage_GetScanLine(mapped.get(), 16);
      EXPECT_LT(middle[FI_RGBA_RED], middle[63 * 3 + FI_RGBA_RED]);
    }
  }
}

TEST(ToneMapImage, LeavesTheImageAloneWhenNothingApplies) {
  const struct {
    const char* name;
    RawLoadAs rawLoadAs;
    ToneMapping toneMapping;
  } cases[] = {
      {"tone mapping none", RawLoadAs::k48, ToneMapping::kNone},
      {"unknown tone mapping", RawLoadAs::k48, static_cast<ToneMapping>(9)},  // as a configuration file may hold
      {"preview decode", RawLoadAs::kAuto, ToneMapping::kDrago},
      {"headerless 8-bit", RawLoadAs::k8, ToneMapping::kDrago},
      {"headerless 16-bit", RawLoadAs::k16, ToneMapping::kLinear},
      {"24-bit decode", RawLoadAs::k24, ToneMapping::kFattal},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FIBITMAP* image = MakeRamp48();
    ASSERT_NE(image, nullptr);
    const UniqueBitmap result(ToneMapImage(image, c.rawLoadAs, c.toneMapping));
    EXPECT_EQ(result.get(), image);
    EXPECT_EQ(FreeImage_GetBPP(result.get()), 48U);
  }
}

TEST(ToneMapImage, Works24BitImagesFromARotationToo) {
  FIBITMAP* ramp = MakeRamp48();
  ASSERT_NE(ramp, nullptr);
  FIBITMAP* rotated = FreeImage_ConvertTo24Bits(ramp);
  FreeImage_Unload(ramp);
  ASSERT_NE(rotated, nullptr);
  const UniqueBitmap mapped(ToneMapImage(rotated, RawLoadAs::k48, ToneMapping::kDrago));
  ASSERT_NE(mapped, nullptr);
  EXPECT_NE(mapped.get(), rotated);
  EXPECT_EQ(FreeImage_GetBPP(mapped.get()), 24U);
}

TEST(ToneMapImage, NoImageStaysNoImage) {
  EXPECT_EQ(ToneMapImage(nullptr, RawLoadAs::k48, ToneMapping::kDrago), nullptr);
}

}  // namespace
}  // namespace lumivane::testing
