#include <gtest/gtest.h>

#include "pipeline/edit_steps.h"
#include "pipeline/encode_support.h"
#include "pipeline/transform_images.h"
#include "support/unique_bitmap.h"

namespace lumivane::testing {
namespace {

TEST(FlipImage, FlipsInPlace) {
  // kQuadrants: red top-left, green top-right, blue bottom-left, white bottom-right.
  const struct {
    std::int8_t horizontal, vertical;
    std::size_t quadrantTopLeft;
  } cases[] = {{0, 0, 0}, {1, 0, 1}, {0, 1, 2}, {1, 1, 3}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "horizontal " << int{c.horizontal} << ", vertical " << int{c.vertical});
    Settings settings;
    settings.transform.doImageFlipHorizontal = c.horizontal;
    settings.transform.doImageFlipVertical = c.vertical;
    FIBITMAP* image = MakeQuadrantImage(40, 20);
    ASSERT_NE(image, nullptr);
    const UniqueBitmap flipped(FlipImage(image, settings));
    EXPECT_EQ(flipped.get(), image);
    EXPECT_EQ(RgbAt(flipped.get(), 5, 5), kQuadrants[c.quadrantTopLeft].rgb);
    EXPECT_EQ(RgbAt(flipped.get(), 34, 14), kQuadrants[3 - c.quadrantTopLeft].rgb);
  }
}

TEST(FlipImage, NoImageStaysNoImage) {
  Settings settings;
  settings.transform.doImageFlipHorizontal = 1;
  EXPECT_EQ(FlipImage(nullptr, settings), nullptr);
}

}  // namespace
}  // namespace lumivane::testing
