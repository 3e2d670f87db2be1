#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "settings/preferences_reader.h"
#include "support/temp_dir.h"

namespace lumivane::testing {
namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

Entries EntriesOf(const PreferencesFile& file, std::string_view group) {
  Entries entries;
  for (const PreferencesEntry& entry : PreferencesGroupEntries(file, group)) {
    entries.emplace_back(entry.key, entry.value);
  }
  return entries;
}

std::vector<std::string> GroupNames(const PreferencesFile& file) {
  std::vector<std::string> names;
  for (const PreferencesGroup& group : file.groups) names.push_back(group.name);
  return names;
}

struct ParseCase {
  const char* what;
  std::string bytes;
  Entries expected;  // entries of group "G"
};

TEST(ParsePreferences, SplitsLinesIntoEntries) {
  const ParseCase cases[] = {
      {"CR LF", "[G]\r\na = 1\r\nb = 2\r\n", {{"a", "1"}, {"b", "2"}}},
      {"LF", "[G]\na = 1\nb = 2\n", {{"a", "1"}, {"b", "2"}}},
      {"CR", "[G]\ra = 1\rb = 2\r", {{"a", "1"}, {"b", "2"}}},
      {"mixed", "[G]\ra = 1\nb = 2\r\nc = 3", {{"a", "1"}, {"b", "2"}, {"c", "3"}}},
      {"no final line end", "[G]\r\na = 1", {{"a", "1"}}},
      {"blank lines", "\r\n[G]\r\n\r\n\n\ra = 1\r\n  \t \r\nb = 2", {{"a", "1"}, {"b", "2"}}},
      {"LF CR is two line ends", "[G]\n\ra = 1\n\r", {{"a", "1"}}},
      {"no spaces", "[G]\nkey=value", {{"key", "value"}}},
      {"blanks around", "[G]\n \t key \t = \t value \t \n", {{"key", "value"}}},
      {"blanks inside", "[G]\nJPG Quality = a b\tc", {{"JPG Quality", "a b\tc"}}},
      {"second equals is value", "[G]\nk = a = b", {{"k", "a = b"}}},
      {"empty value", "[G]\nk =\nl = \t ", {{"k", ""}, {"l", ""}}},
      {"empty key", "[G]\n= v", {{"", "v"}}},
      {"no equals, CR LF", "[G]\r\n--GREYSCALE\r\n", {{"--GREYSCALE", ""}}},
      {"no equals, LF", "[G]\n--GREYSCALE \n", {{"--GREYSCALE", ""}}},
      {"no equals, CR", "[G]\r--GREYSCALE\r", {{"--GREYSCALE", ""}}},
      {"no equals, end of file", "[G]\n--GREYSCALE", {{"--GREYSCALE", ""}}},
      {"comments", "[G]\n; a = 1\n  ;b = 2\n\t;\nc = 3 ; not a comment", {{"c", "3 ; not a comment"}}},
      {"comment before group", "; [G]\n[G]\na = 1", {{"a", "1"}}},
      {"entries before any group", "a = 0\n[G]\na = 1", {{"a", "1"}}},
      {"indented header", "  \t[G]\na = 1", {{"a", "1"}}},
      {"text after header", "[G] trailing = 5\na = 1", {{"a", "1"}}},
      {"unclosed header", "[G\na = 1", {{"a", "1"}}},
      {"other group ends it", "[G]\na = 1\n[H]\nb = 2", {{"a", "1"}}},
  };
  for (const ParseCase& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(EntriesOf(ParsePreferences(c.bytes), "G"), c.expected);
  }
}

TEST(ParsePreferences, NamesGroupsUpToTheClosingBracket) {
  const PreferencesFile file = ParsePreferences("[A]\n[ B ]\n[C] x\n[D\n[]\n[E]]\n[[F]\n");
  const std::vector<std::string> expected = {"A", " B ", "C", "D", "", "E", "[F"};
  EXPECT_EQ(GroupNames(file), expected);
}

TEST(ParsePreferences, EntriesBeforeTheFirstGroupBelongToNone) {
  const PreferencesFile file = ParsePreferences("a = 1\nb = 2\n");
  EXPECT_TRUE(file.groups.empty());
  EXPECT_EQ(FindPreferencesGroup(file, ""), nullptr);
}

TEST(ParsePreferences, DecodesByTheByteOrderMark) {
  struct Case {
    const char* what;
    std::string bytes;
    std::string value;  // UTF-8
  };
  const Case cases[] = {
      {"ISO-8859-1 E9", "[G]\nk = caf\xE9", "caf\u00E9"},
      {"ISO-8859-1 FF and A0", "[G]\nk = \xFF\xA0x", "\u00FF\u00A0x"},
      {"ISO-8859-1 reads UTF-8 bytes as two characters", "[G]\nk = \xC3\xA9", "\u00C3\u00A9"},
      {"UTF-8 with mark", "\xEF\xBB\xBF[G]\nk = caf\xC3\xA9", "caf\u00E9"},
      {"mark only at the start", "[G]\nk = \xEF\xBB\xBF", "\u00EF\u00BB\u00BF"},
      {"NUL is a character", std::string("[G]\nk = a\0b", 11), std::string("a\0b", 3)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(ReadPreferencesString(ParsePreferences(c.bytes), "G", "k", "absent"), c.value);
  }
  // A mark followed by a header: the header is still recognised.
  EXPECT_NE(FindPreferencesGroup(ParsePreferences("\xEF\xBB\xBF[General]\r\nCFG = 19"), "General"), nullptr);
}

TEST(FindPreferencesValue, MatchesAsciiLettersInAnyCase) {
  const PreferencesFile file = ParsePreferences("[cli]\n--jpg-quality = 80\n[\xC9t\xE9]\nK = 1\n");
  EXPECT_EQ(ReadPreferencesString(file, "CLI", "--JPG-QUALITY", "absent"), "80");
  EXPECT_EQ(ReadPreferencesString(file, "Cli", "--Jpg-Quality", "absent"), "80");
  EXPECT_EQ(ReadPreferencesString(file, "\u00C9t\u00E9", "k", "absent"), "1");
  // Only ASCII letters fold: "É" and "é" differ.
  EXPECT_EQ(ReadPreferencesString(file, "\u00E9t\u00E9", "k", "absent"), "absent");
}

TEST(FindPreferencesValue, TheFirstGroupAndTheFirstEntryWin) {
  const PreferencesFile file = ParsePreferences("[G]\nk = 1\nk = 2\n[g]\nk = 3\nonly = 4\n[H]\nk = 5\n");
  EXPECT_EQ(ReadPreferencesString(file, "G", "k", "absent"), "1");
  // Only the first group of a name is searched.
  EXPECT_EQ(ReadPreferencesString(file, "G", "only", "absent"), "absent");
  EXPECT_EQ(ReadPreferencesString(file, "H", "k", "absent"), "5");
  EXPECT_EQ(ReadPreferencesString(file, "Missing", "k", "absent"), "absent");
}

TEST(PreferencesGroupEntries, ListsTheGroupInFileOrderWithRepeats) {
  const PreferencesFile file = ParsePreferences(
      "[Other]\n--jpg-quality = 1\n[CLI]\n--JPG-QUALITY = 80\n--greyscale\n--Jpg-Quality = 90\n; c\n"
      "--wm-text =  \"a b\" \n[cli]\n--width = 5\n");
  const Entries expected = {
      {"--JPG-QUALITY", "80"}, {"--greyscale", ""}, {"--Jpg-Quality", "90"}, {"--wm-text", "\"a b\""}};
  EXPECT_EQ(EntriesOf(file, "cli"), expected);
}

TEST(PreferencesGroupEntries, AMissingGroupOrAnEmptyFileGivesNothing) {
  EXPECT_TRUE(PreferencesGroupEntries(ParsePreferences(""), "CLI").empty());
  EXPECT_TRUE(PreferencesGroupEntries(ParsePreferences("\xEF\xBB\xBF"), "CLI").empty());
  EXPECT_TRUE(PreferencesGroupEntries(ParsePreferences("[General]\nCFG = 19\n"), "CLI").empty());
  EXPECT_TRUE(PreferencesGroupEntries(ParsePreferences("[CLI]\n"), "CLI").empty());
}

TEST(ReadPreferencesNumbers, ConvertValuesOrGiveTheFallback) {
  const PreferencesFile file =
      ParsePreferences("[G]\nq = abc\nr = 80abc\ns = \t-7 \nbig = 99999999999999999999\n"
                       "g = 2.5\nh = +Infinity\ni = nan\nj = 1,5\n");
  EXPECT_EQ(ReadPreferencesInteger(file, "G", "q", 5), 0);
  EXPECT_EQ(ReadPreferencesInteger(file, "G", "r", 5), 80);
  EXPECT_EQ(ReadPreferencesInteger(file, "G", "s", 5), -7);
  EXPECT_EQ(ReadPreferencesInteger(file, "G", "big", 5), 1661992959);
  EXPECT_EQ(ReadPreferencesInteger(file, "G", "absent", 5), 5);
  EXPECT_EQ(ReadPreferencesFloat(file, "G", "g", 9.0f), 2.5f);
  EXPECT_EQ(ReadPreferencesFloat(file, "G", "h", 9.0f), std::numeric_limits<float>::infinity());
  EXPECT_TRUE(std::isnan(ReadPreferencesFloat(file, "G", "i", 9.0f)));
  EXPECT_EQ(ReadPreferencesFloat(file, "G", "j", 9.0f), 1.0f);
  EXPECT_EQ(ReadPreferencesFloat(file, "G", "absent", 9.0f), 9.0f);
}

TEST(ParsePreferences, SurvivesHugeLines) {
  const std::string huge(4 << 20, 'x');
  const std::string bytes = "[G]\nlong = " + huge + "\n" + huge + "\nafter = 1\n[" + huge + "]\nk = 2";
  const PreferencesFile file = ParsePreferences(bytes);
  EXPECT_EQ(ReadPreferencesString(file, "G", "long", ""), huge);
  EXPECT_EQ(ReadPreferencesString(file, "G", huge, "absent"), "");
  EXPECT_EQ(ReadPreferencesInteger(file, "G", "after", 0), 1);
  EXPECT_EQ(ReadPreferencesInteger(file, huge, "k", 0), 2);
}

TEST(ParsePreferences, SurvivesBinaryGarbage) {
  // Every byte value, in a scrambled order, many times over, then a readable group: the reader must neither
  // stop nor lose its place, and lines still end at CR and LF.
  std::string garbage;
  std::uint32_t state = 12345;
  for (int i = 0; i < 200000; ++i) {
    state = state * 1103515245u + 12345u;
    garbage += static_cast<char>(state >> 24);
  }
  const PreferencesFile file = ParsePreferences(garbage + "\n[Known]\nk = 42\n");
  EXPECT_EQ(ReadPreferencesInteger(file, "Known", "k", 0), 42);
  // The same garbage read twice gives the same groups.
  EXPECT_EQ(GroupNames(ParsePreferences(garbage)), GroupNames(ParsePreferences(garbage)));
}

TEST(ReadPreferencesFile, ReadsAFileWithoutChangingIt) {
  TempDir dir;
  const std::string bytes = "\xEF\xBB\xBF\r\n[CLI]\r\n--jpg-quality = 80\r\n";
  const std::string path = dir.WriteFile("profile.ini", bytes);
  const auto before = std::filesystem::last_write_time(path);
  std::filesystem::permissions(path, std::filesystem::perms::owner_read, std::filesystem::perm_options::replace);
  const std::optional<PreferencesFile> file = ReadPreferencesFile(path);
  ASSERT_TRUE(file.has_value());
  EXPECT_EQ(ReadPreferencesString(*file, "cli", "--JPG-QUALITY", ""), "80");
  EXPECT_EQ(ReadFileBytes(path), bytes);
  EXPECT_EQ(std::filesystem::last_write_time(path), before);
}

TEST(ReadPreferencesFile, FailsWhenThereIsNoFileToRead) {
  TempDir dir;
  EXPECT_FALSE(ReadPreferencesFile("").has_value());
  EXPECT_FALSE(ReadPreferencesFile(dir / "missing.ini").has_value());
  EXPECT_FALSE(ReadPreferencesFile(dir.path().string()).has_value());
  EXPECT_TRUE(ReadPreferencesFile(dir.WriteFile("empty.ini", "")).has_value());
}

}  // namespace
}  // namespace lumivane::testing
