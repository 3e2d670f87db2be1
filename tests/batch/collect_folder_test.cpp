#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "batch/collect_inputs.h"
#include "batch/output_naming.h"
#include "support/temp_dir.h"

namespace lumivane::testing {
namespace {

namespace fs = std::filesystem;

std::string Folder(const TempDir& dir) { return dir.path().string() + "/"; }

std::map<std::string, std::string> PathsWithSubfolders(const CollectedFileList& list) {
  std::map<std::string, std::string> result;
  for (const CollectedFile* entry : list.InOrder()) result[entry->path] = entry->relativeSubfolder;
  return result;
}

TEST(CollectFolderTest, AddsNonEmptyFilesWithAcceptedExtensionsInAnyCase) {
  TempDir dir;
  dir.WriteFile("a.cr2", "x");
  dir.WriteFile("B.CR2", "x");
  dir.WriteFile("notes.txt", "x");
  dir.WriteFile("c.cr2", "");
  ProgressRecord progress;
  CollectedFileList list;
  JobRecord job;
  job.inputFolder = Folder(dir);

  EXPECT_EQ(CollectInputs(job, progress, list), 2);
  EXPECT_EQ(progress.Snapshot().count, 2);
  EXPECT_EQ(progress.Snapshot().position, 4) << "every top-level entry moves the position";
  const std::map<std::string, std::string> expected = {{Folder(dir) + "a.cr2", ""}, {Folder(dir) + "B.CR2", ""}};
  EXPECT_EQ(PathsWithSubfolders(list), expected);
}

TEST(CollectFolderTest, DescendsIntoEveryFolderHiddenOnesToo) {
  TempDir dir;
  dir.WriteFile("day1/raw/IMG_0001.CR2", "x");
  dir.WriteFile("day1/IMG_0002.nef", "x");
  dir.WriteFile(".cache/IMG_0003.dng", "x");
  dir.WriteFile(".IMG_0004.arw", "x");
  dir.WriteFile("day1/.thumbs/x.jpg", "x");
  ProgressRecord progress;
  CollectedFileList list;

  EXPECT_EQ(CollectFolder(Folder(dir), progress, list), 4);
  const std::map<std::string, std::string> expected = {
      {Folder(dir) + "day1/raw/IMG_0001.CR2", "day1/raw/"},
      {Folder(dir) + "day1/IMG_0002.nef", "day1/"},
      {Folder(dir) + ".cache/IMG_0003.dng", ".cache/"},
      {Folder(dir) + ".IMG_0004.arw", ""},
  };
  EXPECT_EQ(PathsWithSubfolders(list), expected);
  EXPECT_EQ(progress.Snapshot().position, 3);
}

TEST(CollectFolderTest, KeptSubfoldersPlaceAFileTwoLevelsDownTwoLevelsDown) {
  TempDir dir;
  dir.WriteFile("in/day1/raw/IMG_0001.CR2", "x");
  ProgressRecord progress;
  CollectedFileList list;
  ASSERT_EQ(CollectFolder(dir / "in/", progress, list), 1);
  const CollectedFile& entry = *list.InOrder().front();

  BatchPlan plan;
  plan.settings.advanced.keepSubfolders = 1;
  plan.outputFolder = dir / "out/";
  plan.outputFormat = "jpg";
  FileToConvert file;
  file.inputFile = entry.path;
  file.relativeSubfolder = entry.relativeSubfolder;
  EXPECT_EQ(BuildOutputPath(plan, file, ConvertedFile{}, file.numbering), dir / "out/day1/raw/IMG_0001.jpg");
  plan.settings.advanced.keepSubfolders = 0;
  EXPECT_EQ(BuildOutputPath(plan, file, ConvertedFile{}, file.numbering), dir / "out/IMG_0001.jpg");
}

TEST(CollectFolderTest, AFolderThatCannotBeReadAddsNothing) {
  TempDir dir;
  ProgressRecord progress;
  CollectedFileList list;
  EXPECT_EQ(CollectFolder(dir / "missing/", progress, list), 0);
  EXPECT_EQ(ScanFolder(dir / "missing/", "", list), 0);
  EXPECT_EQ(progress.Snapshot().count, 0);
}

TEST(CollectFolderTest, TakesNoEntryOnceStopped) {
  TempDir dir;
  dir.WriteFile("a.cr2", "x");
  ProgressRecord progress;
  progress.Stop();
  CollectedFileList list;
  EXPECT_EQ(CollectFolder(Folder(dir), progress, list), 0);
  EXPECT_EQ(list.Size(), 0u);
}

TEST(CollectFolderTest, FollowsLinksButEntersNoFolderTwiceOnOnePath) {
  TempDir dir;
  dir.WriteFile("in/a.cr2", "x");
  dir.WriteFile("in/sub/b.cr2", "x");
  dir.WriteFile("elsewhere/c.cr2", "x");
  fs::create_directory_symlink(dir / "in", dir / "in/sub/to-input");        // loop back to the input folder
  fs::create_directory_symlink(dir / "in/sub", dir / "in/sub/to-itself");   // loop onto itself
  fs::create_directory_symlink(dir / "elsewhere", dir / "in/sub/outside");  // a folder outside: followed
  fs::create_symlink(dir / "in/a.cr2", dir / "in/link.cr2");               // a link to a file: a file
  fs::create_symlink(dir / "nowhere.cr2", dir / "in/broken.cr2");          // a dangling link: nothing

  ProgressRecord progress;
  CollectedFileList list;
  EXPECT_EQ(CollectFolder(dir / "in/", progress, list), 4);
  const std::map<std::string, std::string> expected = {
      {dir / "in/a.cr2", ""},
      {dir / "in/link.cr2", ""},
      {dir / "in/sub/b.cr2", "sub/"},
      {dir / "in/sub/outside/c.cr2", "sub/outside/"},
  };
  EXPECT_EQ(PathsWithSubfolders(list), expected);
}

TEST(CollectFolderTest, ALoopOfLinksBetweenTwoFoldersEnds) {
  TempDir dir;
  dir.WriteFile("x/a.cr2", "x");
  dir.WriteFile("y/b.cr2", "x");
  fs::create_directory_symlink(dir / "y", dir / "x/to-y");
  fs::create_directory_symlink(dir / "x", dir / "y/to-x");
  CollectedFileList list;
  // From x: a.cr2, then y through its link with b.cr2; y's link back to x is on the path and is not entered.
  EXPECT_EQ(ScanFolder(dir / "x/", "", list), 2);
  EXPECT_TRUE(list.Contains(dir / "x/to-y/b.cr2"));
}

TEST(CollectFolderTest, FinishesAFolderTwoHundredLevelsDeep) {
  TempDir dir;
  std::string relative;
  for (int level = 0; level < 200; ++level) relative += "d/";
  dir.WriteFile(relative + "deep.cr2", "x");
  dir.WriteFile("top.cr2", "x");
  ProgressRecord progress;
  CollectedFileList list;
  EXPECT_EQ(CollectFolder(Folder(dir), progress, list), 2);
  ASSERT_TRUE(list.Contains(Folder(dir) + relative + "deep.cr2"));
  const std::map<std::string, std::string> collected = PathsWithSubfolders(list);
  EXPECT_EQ(collected.at(Folder(dir) + relative + "deep.cr2"), relative);
}

TEST(CollectFolderTest, CollectsATreeOfTwentyThousandFiles) {
  TempDir dir;
  for (int folder = 0; folder < 20; ++folder) {
    const fs::path sub = dir.path() / ("f" + std::to_string(folder));
    fs::create_directory(sub);
    for (int file = 0; file < 1000; ++file) {
      std::FILE* out = std::fopen((sub / (std::to_string(file) + ".nef")).c_str(), "wb");
      ASSERT_NE(out, nullptr);
      std::fputc('x', out);
      std::fclose(out);
    }
  }
  ProgressRecord progress;
  CollectedFileList list;
  JobRecord job;
  job.inputFolder = Folder(dir);
  EXPECT_EQ(CollectInputs(job, progress, list), 20000);
  EXPECT_EQ(list.Size(), 20000u);
  EXPECT_EQ(progress.Snapshot().position, 20);
}

struct RelativeCase {
  const char* path;
  const char* base;
  const char* relative;
};

TEST(RelativeSubfolderTest, IsTheFolderBelowTheBase) {
  const RelativeCase cases[] = {
      {"/in/a/b/x.cr2", "/in/", "a/b/"},
      {"/in/x.cr2", "/in/", ""},
      {"/in/x.cr2", "", ""},
      {"", "/in/", ""},
      {"/in/x/in/y.cr2", "/in/", "x/in/"},  // a subfolder repeating the base's text keeps its name
      {"/other/x.cr2", "/in/", ""},
      {"/IN/a/x.cr2", "/in/", ""},          // compared case-sensitively
  };
  for (const RelativeCase& c : cases) {
    SCOPED_TRACE(std::string(c.path) + " below " + c.base);
    EXPECT_EQ(RelativeSubfolder(c.path, c.base), c.relative);
  }
}

}  // namespace
}  // namespace lumivane::testing
