#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/file_write.h"
#include "support/temp_dir.h"

namespace lumivane::testing {
namespace {

std::vector<unsigned char> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

std::size_t EntryCount(const TempDir& dir) {
  return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir.path()),
                                                std::filesystem::directory_iterator()));
}

TEST(WriteFileViaTemporary, WritesTheBytesUnderTheFinalNameAndLeavesNoTemporaryFile) {
  TempDir dir;
  const auto bytes = Bytes(std::string("new\0content", 11));
  ASSERT_TRUE(WriteFileViaTemporary(dir / "out.tmp", dir / "out.png", bytes));
  EXPECT_EQ(ReadFileBytes(dir / "out.png"), std::string("new\0content", 11));
  EXPECT_FALSE(std::filesystem::exists(dir / "out.tmp"));
  EXPECT_EQ(EntryCount(dir), 1u);
}

TEST(WriteFileViaTemporary, ReplacesAnOlderFileOfTheFinalName) {
  TempDir dir;
  dir.WriteFile("out.png", "older and longer");
  ASSERT_TRUE(WriteFileViaTemporary(dir / "out.tmp", dir / "out.png", Bytes("new")));
  EXPECT_EQ(ReadFileBytes(dir / "out.png"), "new");
  EXPECT_EQ(EntryCount(dir), 1u);
}

TEST(WriteFileViaTemporary, NeverWritesIntoOrRemovesAnExistingTemporaryName) {
  TempDir dir;
  dir.WriteFile("out.tmp", "somebody else's");
  dir.WriteFile("out.png", "older");
  EXPECT_FALSE(WriteFileViaTemporary(dir / "out.tmp", dir / "out.png", Bytes("new")));
  EXPECT_EQ(ReadFileBytes(dir / "out.tmp"), "somebody else's");
  EXPECT_EQ(ReadFileBytes(dir / "out.png"), "older");
}

TEST(WriteFileViaTemporary, FailsIntoAMissingFolder) {
  TempDir dir;
  EXPECT_FALSE(WriteFileViaTemporary(dir / "missing/out.tmp", dir / "missing/out.png", Bytes("new")));
  EXPECT_EQ(EntryCount(dir), 0u);
}

TEST(WriteFileViaTemporary, RemovesTheTemporaryFileWhenTheRenameFails) {
  TempDir dir;
  // A folder of the final name cannot be replaced by a file.
  std::filesystem::create_directory(dir / "out.png");
  EXPECT_FALSE(WriteFileViaTemporary(dir / "out.tmp", dir / "out.png", Bytes("new")));
  EXPECT_FALSE(std::filesystem::exists(dir / "out.tmp"));
  EXPECT_TRUE(std::filesystem::is_directory(dir / "out.png"));
}

TEST(WriteFileViaTemporary, RefusesATemporaryNameEqualToTheFinalOne) {
  TempDir dir;
  dir.WriteFile("out.png", "older");
  EXPECT_FALSE(WriteFileViaTemporary(dir / "out.png", dir / "out.png", Bytes("new")));
  EXPECT_EQ(ReadFileBytes(dir / "out.png"), "older");
}

}  // namespace
}  // namespace lumivane::testing
