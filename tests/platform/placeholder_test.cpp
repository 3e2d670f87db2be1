#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace lumivane::testing {
namespace {

TEST(TempDirSupport, WritesAndReadsBack) {
  TempDir dir;
  const std::string path = dir.WriteFile("a/b.bin", std::string("x\0y", 3));
  EXPECT_EQ(ReadFileBytes(path), std::string("x\0y", 3));
}

}  // namespace
}  // namespace lumivane::testing
