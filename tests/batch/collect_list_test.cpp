#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "batch/collect_inputs.h"
#include "batch/list_file_reader.h"
#include "batch_test_helpers.h"
#include "support/temp_dir.h"

namespace lumivane::testing {
namespace {

std::vector<std::string> Collected(const CollectedFileList& list) {
  std::vector<std::string> paths;
  for (const CollectedFile* entry : list.InOrder()) paths.push_back(entry->path);
  std::sort(paths.begin(), paths.end());
  return paths;
}

std::vector<std::string> ReadAllLines(const std::string& path) {
  ListFileReader reader(path);
  std::vector<std::string> lines;
  for (std::string line; reader.NextLine(line);) lines.push_back(line);
  return lines;
}

// UTF-16 bytes of the units, in the given byte order, mark first.
std::string Utf16Bytes(const std::u16string& units, bool littleEndian) {
  std::string bytes = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
  for (const char16_t unit : units) {
    const char low = static_cast<char>(unit & 0xFF);
    const char high = static_cast<char>(unit >> 8);
    bytes += littleEndian ? std::string{low, high} : std::string{high, low};
  }
  return bytes;
}

std::u16string AsciiUnits(const std::string& text) { return std::u16string(text.begin(), text.end()); }

struct LineCase {
  const char* name;
  std::string bytes;
  std::vector<std::string> lines;
};

TEST(ListFileReaderTest, SplitsLinesAtCrLfAndCrLf) {
  const LineCase cases[] = {
      {"lf", "a\nb\n", {"a", "b"}},
      {"crlf", "a\r\nb\r\n", {"a", "b"}},
      {"cr", "a\rb\r", {"a", "b"}},
      {"mixed, empty lines kept", "a\r\n\nb\r\rc", {"a", "", "b", "", "c"}},
      {"no final line end", "a\nlast", {"a", "last"}},
      {"empty file", "", {}},
      {"utf-8 mark", "\xEF\xBB\xBF" "a\nb", {"a", "b"}},
      {"utf-32 mark skipped, utf-8 follows", std::string("\x00\x00\xFE\xFF", 4) + "a\nb", {"a", "b"}},
      {"spaces and tabs kept", "  a \t\n", {"  a \t"}},
  };
  for (const LineCase& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    EXPECT_EQ(ReadAllLines(dir.WriteFile("list.txt", c.bytes)), c.lines);
  }
}

TEST(ListFileReaderTest, DecodesUtf16OfEitherByteOrder) {
  const std::u16string units = u"/f\u00E9te/\U0001F600.cr2\r\nsecond\rthird\n";
  const std::vector<std::string> expected = {"/f\xC3\xA9te/\xF0\x9F\x98\x80.cr2", "second", "third"};
  for (const bool littleEndian : {true, false}) {
    SCOPED_TRACE(littleEndian ? "little endian" : "big endian");
    TempDir dir;
    EXPECT_EQ(ReadAllLines(dir.WriteFile("list.txt", Utf16Bytes(units, littleEndian))), expected);
  }
}

TEST(ListFileReaderTest, ReadsLinesAcrossBlockBoundaries) {
  std::string bytes;
  std::vector<std::string> expected;
  for (int i = 0; i < 20000; ++i) {
    expected.push_back("/photos/" + std::to_string(i) + ".cr2");
    bytes += expected.back() + (i % 2 == 0 ? "\r\n" : "\r");  // CR LF pairs fall on block edges too
  }
  TempDir dir;
  EXPECT_EQ(ReadAllLines(dir.WriteFile("list.lst", bytes)), expected);
}

TEST(CollectListTest, NamesEachPathOnceAndDifferentlyWrittenPathsSeparately) {
  TempDir dir;
  const std::string a = dir.WriteFile("a.cr2", "x");
  dir.WriteFile("A.CR2", "x");
  const std::string folderOfA = dir.path().string();
  const std::string list = dir.WriteFile("list.txt", a + "\n" + a + "\n" + dir / "A.CR2" + "\n" +
                                                         folderOfA + "/./a.cr2\n" + folderOfA + "\n");
  ProgressRecord progress;
  CollectedFileList collected;
  // a.cr2 once; A.CR2; a.cr2 written with "./"; the folder adds nothing new (its paths are a.cr2 and A.CR2 again).
  EXPECT_EQ(CollectListFile(list, progress, collected), 3);
  EXPECT_EQ(progress.Snapshot().count, 3);
  EXPECT_EQ(progress.Snapshot().position, 5);
  const std::vector<std::string> expected = {folderOfA + "/./a.cr2", dir / "A.CR2", a};
  EXPECT_EQ(Collected(collected), expected);
}

TEST(CollectListTest, AListedFolderAddsEverythingBeneathWithoutSubfolders) {
  TempDir dir;
  dir.WriteFile("shoot/a.cr2", "x");
  dir.WriteFile("shoot/day1/raw/b.nef", "x");
  dir.WriteFile("shoot/.hidden/c.dng", "x");
  dir.WriteFile("shoot/notes.txt", "x");
  const std::string list = dir.WriteFile("list.txt", dir / "shoot" + "\n");
  ProgressRecord progress;
  CollectedFileList collected;
  EXPECT_EQ(CollectListFile(list, progress, collected), 3);
  for (const CollectedFile* entry : collected.InOrder()) {
    EXPECT_EQ(entry->relativeSubfolder, "") << entry->path;
  }
  EXPECT_TRUE(collected.Contains(dir / "shoot/day1/raw/b.nef"));
}

TEST(CollectListTest, FindsThePathsOfUtf16Lists) {
  for (const bool littleEndian : {true, false}) {
    SCOPED_TRACE(littleEndian ? "little endian" : "big endian");
    TempDir dir;
    const std::string photo = dir.WriteFile("f\xC3\xA9te/\xF0\x9F\x98\x80.cr2", "x");
    const std::u16string units = AsciiUnits(dir.path().string()) + u"/f\u00E9te/\U0001F600.cr2\r\n";
    const std::string list = dir.WriteFile("list.txt", Utf16Bytes(units, littleEndian));
    ProgressRecord progress;
    CollectedFileList collected;
    EXPECT_EQ(CollectListFile(list, progress, collected), 1);
    EXPECT_TRUE(collected.Contains(photo));
  }
}

TEST(CollectListTest, TrimsSpacesButNotTabs) {
  TempDir dir;
  const std::string a = dir.WriteFile("a.cr2", "x");
  const std::string b = dir.WriteFile("b.cr2", "x");
  const std::string list = dir.WriteFile("list.txt", "   " + a + "  \r\n\t" + b + "\r\n   \r\n");
  ProgressRecord progress;
  CollectedFileList collected;
  EXPECT_EQ(CollectListFile(list, progress, collected), 1);
  EXPECT_TRUE(collected.Contains(a));
  EXPECT_EQ(progress.Snapshot().position, 1) << "lines naming nothing do not move the position";
}

TEST(CollectListTest, ResolvesRelativeLinesAgainstTheCurrentFolder) {
  TempDir dir;
  dir.WriteFile("sub/a.cr2", "x");
  dir.WriteFile("sub/deeper/b.cr2", "x");
  const std::string list = dir.WriteFile("lists/list.txt", "sub/a.cr2\nsub/deeper\n");
  const CurrentFolderScope current(dir.path());
  ProgressRecord progress;
  CollectedFileList collected;
  EXPECT_EQ(CollectListFile(list, progress, collected), 2);
  const std::vector<std::string> expected = {"sub/a.cr2", "sub/deeper/b.cr2"};
  EXPECT_EQ(Collected(collected), expected);
}

TEST(CollectListTest, AnUnreadableListAddsNothing) {
  TempDir dir;
  ProgressRecord progress;
  CollectedFileList collected;
  EXPECT_EQ(CollectListFile(dir / "missing.txt", progress, collected), 0);
  EXPECT_EQ(progress.Snapshot().count, 0);
}

TEST(CollectListTest, IteratesInHashTableOrderNotInListOrder) {
  TempDir dir;
  std::string lines;
  std::vector<std::string> listed;
  // Enough files that two of them share a bucket, so both rules of the order are seen.
  std::set<std::size_t> buckets;
  bool shared = false;
  for (int i = 0; listed.size() < 12 || !shared; ++i) {
    listed.push_back(dir.WriteFile("p" + std::to_string(i) + ".cr2", "x"));
    lines += listed.back() + "\n";
    shared = shared || !buckets.insert(ReferenceBucketOfAscii(listed.back())).second;
  }
  std::vector<std::string> expected = listed;
  std::stable_sort(expected.begin(), expected.end(), [](const std::string& a, const std::string& b) {
    return ReferenceBucketOfAscii(a) < ReferenceBucketOfAscii(b);
  });
  // Later additions come first within a bucket.
  for (auto first = expected.begin(); first != expected.end();) {
    auto last = std::find_if(first, expected.end(), [&](const std::string& path) {
      return ReferenceBucketOfAscii(path) != ReferenceBucketOfAscii(*first);
    });
    std::reverse(first, last);
    first = last;
  }
  ASSERT_NE(expected, listed);

  ProgressRecord progress;
  CollectedFileList collected;
  ASSERT_EQ(CollectListFile(dir.WriteFile("list.txt", lines), progress, collected),
            static_cast<std::int32_t>(listed.size()));
  std::vector<std::string> iterated;
  for (const CollectedFile* entry : collected.InOrder()) iterated.push_back(entry->path);
  EXPECT_EQ(iterated, expected);
}

TEST(CollectListTest, HandlesAMillionLines) {
  TempDir dir;
  std::vector<std::string> files;
  for (int i = 0; i < 1000; ++i) files.push_back(dir.WriteFile("photos/" + std::to_string(i) + ".orf", "x"));
  std::string lines;
  lines.reserve(files.front().size() * 1000000 + 2000000);
  for (int i = 0; i < 1000000; ++i) {
    lines += files[static_cast<std::size_t>(i) % files.size()];
    lines += "\r\n";
  }
  ProgressRecord progress;
  CollectedFileList collected;
  EXPECT_EQ(CollectListFile(dir.WriteFile("big.lst", lines), progress, collected), 1000);
  EXPECT_EQ(progress.Snapshot().position, 1000000);
}

TEST(CollectInputsTest, ChoosesTheSourceByTheInput) {
  TempDir dir;
  const std::string photo = dir.WriteFile("IMG_0001.CR2", "x");
  dir.WriteFile("empty.cr2", "");
  const std::string listed = dir.WriteFile("listed/IMG_0002.nef", "x");
  dir.WriteFile("list.TXT", listed + "\n");
  dir.WriteFile("list.lst", listed + "\n" + photo + "\n");
  dir.WriteFile("photo.jpg", "x");
  struct Case {
    const char* inputFile;
    std::int32_t added;
  };
  const Case cases[] = {
      {"IMG_0001.CR2", 1},  // a single image
      {"empty.cr2", 0},
      {"photo.jpg", 0},      // not an accepted extension
      {"missing.cr2", 0},
      {"list.TXT", 1},       // a list, whatever the case of its extension
      {"list.lst", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.inputFile);
    JobRecord job;
    job.inputFile = dir / c.inputFile;
    ProgressRecord progress;
    CollectedFileList collected;
    EXPECT_EQ(CollectInputs(job, progress, collected), c.added);
    EXPECT_EQ(progress.Snapshot().count, c.added);
    EXPECT_EQ(collected.Size(), static_cast<std::size_t>(c.added));
  }
}

TEST(CollectInputsTest, ASingleFileIsKeyedAsGivenWithoutSubfolder) {
  TempDir dir;
  dir.WriteFile("IMG_0001.CR2", "x");
  const CurrentFolderScope current(dir.path());
  JobRecord job;
  job.inputFile = "IMG_0001.CR2";
  ProgressRecord progress;
  CollectedFileList collected;
  ASSERT_EQ(CollectInputs(job, progress, collected), 1);
  EXPECT_EQ(collected.InOrder().front()->path, "IMG_0001.CR2");
  EXPECT_EQ(collected.InOrder().front()->relativeSubfolder, "");
}

}  // namespace
}  // namespace lumivane::testing
