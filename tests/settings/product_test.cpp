#include "settings/product.h"

#include <gtest/gtest.h>

namespace lumivane::testing {
namespace {

TEST(VersionText, InsertsDotsAndDropsATrailingZero) {
  const struct {
    int number;
    const char* text;
  } cases[] = {{300, "3.0"}, {301, "3.0.1"}, {310, "3.1"}, {311, "3.1.1"}, {100, "1.0"}};
  for (const auto& c : cases) EXPECT_EQ(VersionText(c.number), c.text) << c.number;
}

TEST(ProductTitle, IsNameAndVersion) { EXPECT_EQ(ProductTitle(), "Lumivane 3.0"); }

TEST(MakerNotice, BannerUsesAsciiSignWatermarkTheCopyrightSign) {
  EXPECT_EQ(MakerNotice(true), "(c) 2026 Tarnwick");
  EXPECT_EQ(MakerNotice(false), "\u00A9 2026 Tarnwick");
}

}  // namespace
}  // namespace lumivane::testing
