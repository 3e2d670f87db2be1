#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "settings/preferences_reader.h"
#include "settings/preferences_writer.h"
#include "support/temp_dir.h"

namespace lumivane::testing {
namespace {

TEST(PreferencesWriter, WritesMarkGroupsEntriesAndCommentsWithCrLf) {
  std::string text = BeginPreferencesText();
  AppendPreferencesGroup(text, "CLI");
  AppendPreferencesEntry(text, "--JPG-QUALITY", "80");
  AppendPreferencesEntry(text, "--WM-TEXT", "caf\u00E9");
  AppendPreferencesEntry(text, "Empty", "");
  AppendPreferencesComment(text, "");
  AppendPreferencesComment(text, "note");
  EXPECT_EQ(text,
            "\xEF\xBB\xBF\r\n[CLI]\r\n--JPG-QUALITY = 80\r\n--WM-TEXT = caf\xC3\xA9\r\nEmpty = \r\n; \r\n; note\r\n");
  // What is written reads back, UTF-8 included.
  const PreferencesFile file = ParsePreferences(text);
  EXPECT_EQ(ReadPreferencesString(file, "CLI", "--WM-TEXT", ""), "caf\u00E9");
  EXPECT_EQ(ReadPreferencesString(file, "CLI", "Empty", "absent"), "");
}

TEST(WritePreferencesFile, ReplacesTheWholeFile) {
  TempDir dir;
  const std::string path = dir.WriteFile("config.ini", std::string(10000, 'o'));
  ASSERT_TRUE(WritePreferencesFile(path, "new"));
  EXPECT_EQ(ReadFileBytes(path), "new");
  EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
}

TEST(WritePreferencesFile, AFailedWriteLeavesTheOldFileAlone) {
  TempDir dir;
  const std::string path = dir.WriteFile("config.ini", "old");
  std::filesystem::create_directory(path + ".tmp");  // the temporary file cannot be created
  EXPECT_FALSE(WritePreferencesFile(path, "new"));
  EXPECT_EQ(ReadFileBytes(path), "old");
  EXPECT_FALSE(WritePreferencesFile(dir / "missing-folder/config.ini", "new"));
  EXPECT_FALSE(WritePreferencesFile("", "new"));
}

}  // namespace
}  // namespace lumivane::testing
