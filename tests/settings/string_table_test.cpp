#include "settings/string_table.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

#include <set>
#include <string>
#include <vector>

namespace lumivane::testing {
namespace {

// Every test starts from, and leaves behind, the built-in table.
class StringTableTest : public ::testing::Test {
 protected:
  void SetUp() override { BuildStringTable(""); }
  void TearDown() override { BuildStringTable(""); }
};

struct BuiltInRow {
  const char* group;
  const char* key;
  const char* text;
};

// The texts the command line shows.
const BuiltInRow kCommandLineTexts[] = {
    {"General", "Preparing", "Preparing..."},
    {"General", "Importing", "Importing..."},
    {"General", "Converting", "Converting..."},
    {"Msg", "Import complete", "Import complete, new files added: %s1%"},
    {"Msg", "Empty input files", "No input file(s) found. Please, add valid file(s) and try again!"},
    {"Msg", "Conversion complete", "Conversion complete"},
    {"Msg", "Conversion is not complete", "Conversion stopped"},
    {"Msg", "Files converted", "Files converted: %s1% of %s2%"},
};

TEST_F(StringTableTest, HoldsEveryCommandLineText) {
  for (const BuiltInRow& row : kCommandLineTexts) {
    SCOPED_TRACE(std::string(row.group) + "/" + row.key);
    EXPECT_EQ(LookupString(row.group, row.key), row.text);
  }
}

TEST_F(StringTableTest, MatchesGroupAndKeyWithoutRegardToCase) {
  const std::pair<const char*, const char*> spellings[] = {
      {"Msg", "Files converted"}, {"msg", "files converted"}, {"MSG", "FILES CONVERTED"}, {"mSg", "fILES cONVERTED"}};
  for (const auto& [group, key] : spellings)
    EXPECT_EQ(LookupString(group, key), "Files converted: %s1% of %s2%") << group << "/" << key;
}

TEST_F(StringTableTest, MissingGroupOrKeyGivesTheErrorText) {
  const std::pair<const char*, const char*> missing[] = {
      {"Msg", "Files copied"},          // existing group, unknown key
      {"Nothing", "Files converted"},   // unknown group
      {"Msg", "Preparing"},             // key of another group
      {"Msg", "Conversion"},            // a prefix of existing keys
      {"Msg", "Conversion completed"},  // an existing key with more after it
      {"Msg", "Files converted "},      // trailing blank
      {"Msg", "Zebra"},                 // first character that no key has
      {"Msg", ""},                      // empty key
      {"", "Files converted"},          // empty group
      {"Msg", "\xC4\x80 key"},          // first character beyond the index
      {"Msg", "\xFF"},                  // not UTF-8
  };
  for (const auto& [group, key] : missing)
    EXPECT_EQ(LookupString(group, key), "%NO_STRING_ERROR%") << group << "/" << key;
}

TEST_F(StringTableTest, AlternatingGroupsFindTheirOwnEntries) {
  // The previous lookup's group is tried first; a change of group, or a miss, must not stick.
  EXPECT_EQ(LookupString("Msg", "Conversion complete"), "Conversion complete");
  EXPECT_EQ(LookupString("General", "Converting"), "Converting...");
  EXPECT_EQ(LookupString("General", "Conversion complete"), "%NO_STRING_ERROR%");
  EXPECT_EQ(LookupString("Nothing", "Converting"), "%NO_STRING_ERROR%");
  EXPECT_EQ(LookupString("Msg", "Converting"), "%NO_STRING_ERROR%");
  EXPECT_EQ(LookupString("Msg", "Import complete"), "Import complete, new files added: %s1%");
}

TEST_F(StringTableTest, FindsEveryKeyOfAnUnsortedList) {
  // Listed out of order, with keys that are prefixes of others: the forward scan stops early only when
  // the entries are sorted.
  const StringPair pairs[] = {
      {"_GROUP_", "Keys"},
      {"b2", "text b2"},
      {"b", "text b"},
      {"ab", "text ab"},
      {"a", "text a"},
      {"abc", "text abc"},
      {"X\xF0\x90\x80\x80", "text X U+10000"},
      {"X\xEE\x80\x80", "text X U+E000"},
      {"X", "text X"},
      {"_END_", ""},
  };
  BuildStringTableFrom(pairs);
  for (const StringPair& pair : pairs) {
    const std::string first = pair.first;
    if (first == "_GROUP_" || first == "_END_") continue;
    EXPECT_EQ(LookupString("keys", first), pair.second) << first;
  }
  EXPECT_EQ(LookupString("Keys", "aa"), "%NO_STRING_ERROR%");
  EXPECT_EQ(LookupString("Keys", "b1"), "%NO_STRING_ERROR%");
}

TEST_F(StringTableTest, ListShapes) {
  const StringPair pairs[] = {
      {"orphan", "before any group"},
      {"_GROUP_", "Empty"},
      {"_GROUP_", "Twice"},
      {"k", "first group"},
      {"_GROUP_", "TWICE"},
      {"k", "second group"},
      {"only", "in the second group"},
      {"_END_", ""},
      {"_GROUP_", "After"},
      {"k", "after the end"},
  };
  BuildStringTableFrom(pairs);
  EXPECT_EQ(LookupString("Empty", "k"), "%NO_STRING_ERROR%");
  EXPECT_EQ(LookupString("Empty", "orphan"), "%NO_STRING_ERROR%");
  EXPECT_EQ(LookupString("twice", "k"), "first group");  // the first group of a name wins
  EXPECT_EQ(LookupString("twice", "only"), "%NO_STRING_ERROR%");
  EXPECT_EQ(LookupString("After", "k"), "%NO_STRING_ERROR%");
}

TEST_F(StringTableTest, OverridesReplaceTextsUntilTheTableIsBuiltAgain) {
  std::set<std::string> asked;
  ApplyStringOverrides([&](const std::string& group, const std::string& key, const std::string& fallback) {
    asked.insert(group + "/" + key);
    if (group == "MSG" && key == "FILES CONVERTED") return std::string("Dateien: %s1% / %s2%");
    return fallback;
  });
  const std::set<std::string> expectedAsked = {"GENERAL/PREPARING",
                                               "GENERAL/IMPORTING",
                                               "GENERAL/CONVERTING",
                                               "MSG/IMPORT COMPLETE",
                                               "MSG/EMPTY INPUT FILES",
                                               "MSG/CONVERSION COMPLETE",
                                               "MSG/CONVERSION IS NOT COMPLETE",
                                               "MSG/FILES CONVERTED"};
  EXPECT_EQ(asked, expectedAsked);
  EXPECT_EQ(LookupString("Msg", "Files converted"), "Dateien: %s1% / %s2%");
  EXPECT_EQ(LookupString("Msg", "Conversion complete"), "Conversion complete");

  BuildStringTable("");
  EXPECT_EQ(LookupString("Msg", "Files converted"), "Files converted: %s1% of %s2%");
}

TEST_F(StringTableTest, ALanguageFileReplacesTheTextsItNames) {
  TempDir dir;
  const std::string language =
      dir.WriteFile("de.lng", "\xEF\xBB\xBF[msg]\nfiles converted = Dateien umgewandelt: %s1% von %s2%\n");
  BuildStringTable(language);
  EXPECT_EQ(LookupString("Msg", "Files converted"), "Dateien umgewandelt: %s1% von %s2%");
  EXPECT_EQ(LookupString("General", "Preparing"), "Preparing...");
  BuildStringTable(dir / "missing.lng");
  EXPECT_EQ(LookupString("Msg", "Files converted"), "Files converted: %s1% of %s2%");
}

}  // namespace
}  // namespace lumivane::testing
