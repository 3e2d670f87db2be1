#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/paths.h"

namespace lumivane::testing {
namespace {

struct ExtensionCase {
  const char* path;
  std::optional<std::string> extension;
};

TEST(ExtensionTest, ScansBackwardsToTheLastDotOfTheLastComponent) {
  const ExtensionCase cases[] = {
      {"IMG_0001.CR2", "CR2"},
      {"/in/a.b.cr2", "cr2"},
      {"/in/day.1/photo", std::nullopt},      // the dot belongs to a folder
      {"/in/day.1/", std::nullopt},           // a folder given with its trailing slash
      {"/in/day.1", "1"},                     // ... and without it: counts as a file
      {"C:\\in\\photo", std::nullopt},        // a backslash stops the scan too
      {"C:\\in\\photo.nef", "nef"},
      {"my photo", std::nullopt},             // a space stops the scan
      {"my photo.cr2", "cr2"},                // ... but only when met before the dot
      {"x.my photo", std::nullopt},
      {".hidden", std::nullopt},              // a leading dot starts a name, not an extension
      {"/in/.hidden", std::nullopt},
      {"/in/.hidden.cr2", "cr2"},
      {"in\\.hidden", std::nullopt},
      {"name.", ""},                          // a trailing dot gives an empty extension
      {"", std::nullopt},
      {".", std::nullopt},
      {"photos", std::nullopt},
  };
  for (const ExtensionCase& c : cases) {
    SCOPED_TRACE(c.path);
    const std::optional<std::string_view> extension = ExtensionOf(c.path);
    ASSERT_EQ(extension.has_value(), c.extension.has_value());
    EXPECT_EQ(HasExtension(c.path), c.extension.has_value());
    if (extension) EXPECT_EQ(std::string(*extension), *c.extension);
  }
}

struct PartsCase {
  const char* path;
  const char* folder;
  const char* name;
  const char* baseName;
};

TEST(PathPartsTest, SplitAtTheLastSlash) {
  const PartsCase cases[] = {
      {"/in/day1/IMG_0001.CR2", "/in/day1/", "IMG_0001.CR2", "IMG_0001"},
      {"/in/a.b.cr2", "/in/", "a.b.cr2", "a.b"},
      {"IMG_0001.CR2", "", "IMG_0001.CR2", "IMG_0001"},
      {"/in/.hidden", "/in/", ".hidden", ".hidden"},
      {"/in/.hidden.cr2", "/in/", ".hidden.cr2", ".hidden"},
      {"/in/my photo", "/in/", "my photo", "my photo"},
      {"/in/day.1/", "/in/day.1/", "", ""},
      {"rel/x.nef", "rel/", "x.nef", "x"},
  };
  for (const PartsCase& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(FolderPart(c.path), c.folder);
    EXPECT_EQ(FileNamePart(c.path), c.name);
    EXPECT_EQ(FileBaseName(c.path), c.baseName);
  }
}

struct FolderCase {
  const char* folder;
  const char* normalised;
};

TEST(NormaliseFolderTest, ResolvesRelativeFoldersAgainstTheCurrentFolder) {
  const FolderCase cases[] = {
      {"/data/photos", "/data/photos/"},
      {"/data/photos/", "/data/photos/"},
      {"/", "/"},
      {"photos", "/opt/lv/photos/"},
      {"./photos", "/opt/lv/photos/"},           // the same folder as "photos"
      {"./photos/", "/opt/lv/photos/"},
      {"a/../b", "/opt/lv/a/../b/"},             // two dots further inside are kept
      {".", "/opt/lv/"},
      {"", "/opt/lv/"},
      {".hidden", "/opt/lv/.hidden/"},
  };
  for (const FolderCase& c : cases) {
    SCOPED_TRACE(c.folder);
    EXPECT_EQ(NormaliseFolder(c.folder, "/opt/lv/"), c.normalised);
  }
  EXPECT_EQ(NormaliseFolder(".", ""), "./");  // without a base (the current folder is gone) it stays relative
}

}  // namespace
}  // namespace lumivane::testing
