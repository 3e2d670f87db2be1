// Large batches as users run them: relative folders, a rerun after an interruption, dry runs and shards.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "dng/dng_writer.h"
#include "support/jq.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace lumivane::testing {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

// Every file below the folder: relative path -> bytes.
std::map<std::string, std::string> FilesBelow(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) files[fs::relative(entry.path(), folder).string()] = ReadFileBytes(entry.path());
  }
  return files;
}

// ImageMagick reads the picture without so much as a warning.
bool IsWholePicture(const std::string& path) {
  return RunCommand({"identify", "-regard-warnings", "-format", "%w", path}).exitCode == 0;
}

void WriteDngs(const TempDir& dir, const std::vector<std::string>& names, std::int64_t width = 64) {
  for (std::size_t i = 0; i < names.size(); ++i) {
    fs::create_directories(fs::path(dir / names[i]).parent_path());
    DngContent content{.width = width, .height = width * 3 / 4, .seed = static_cast<std::uint32_t>(i + 1)};
    ASSERT_TRUE(WriteDngFile(dir / names[i], content));
  }
}

bool Contains(const Lines& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(LargeBatches, RelativeFoldersAreTakenFromTheCurrentFolder) {
  TempDir dir;
  fs::permissions(dir.path(), fs::perms(0755));  // mkdtemp keeps it from the unprivileged user
  WriteDngs(dir, {"photos/a.dng"});
  std::vector<std::vector<std::string>> launchers = {{}};
  if (::geteuid() == 0 && ::access("/usr/bin/setpriv", X_OK) == 0) {
    launchers.push_back({"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--"});
  }
  for (const std::vector<std::string>& launcher : launchers) {
    fs::remove_all(dir / "out");
    fs::create_directory(dir / "out");
    fs::permissions(dir / "out", fs::perms::all);
    const ProgramResult result = RunProgramWith({"-q", "-i", "photos", "-o", "out", "-c", "jpg"},
                                                {.workingDirectory = dir.path(), .launcher = launcher});
    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_TRUE(IsWholePicture(dir / "out/a.jpg")) << launcher.size();
  }
  const ProgramResult above = RunProgramWith({"-q", "-i", "photos", "-o", "../x"}, {.workingDirectory = dir.path()});
  EXPECT_EQ(above.lines, Lines{"Error: Incorrect output folder"});
  EXPECT_EQ(above.exitCode, 2);
}

TEST(LargeBatches, ARerunAfterAnInterruptionConvertsExactlyTheMissingFiles) {
  if (!HaveJq()) GTEST_SKIP() << "jq is not installed";
  TempDir dir;
  std::vector<std::string> names;
  std::vector<std::string> outputs;
  for (int i = 0; i < 10; ++i) {
    names.push_back("in/p" + std::to_string(i) + ".dng");
    outputs.push_back(dir / ("out/p" + std::to_string(i) + ".jpg"));
  }
  WriteDngs(dir, names, 1600);
  fs::create_directory(dir / "out");
  const Lines run = {
      "-i", dir / "in", "-o", dir / "out", "-c", "jpg", "--skip-existing", "--report=" + dir / "r.jsonl"};
  // SIGINT once half of the outputs are there; the program may leave temporary files, never a part of an output.
  // Job control on, else bash starts the program with SIGINT ignored.
  Lines interrupted = {
      "bash", "-c",
      "set -m; \"$@\" & while [ $(ls \"$0\" | grep -c '^p.\\.jpg$') -lt 5 ] && kill -0 $!; do sleep 0.02; "
      "done; kill -INT $!; wait",
      dir / "out", ProgramPath()};
  interrupted.insert(interrupted.end(), run.begin(), run.end());
  RunCommand(interrupted);
  std::string existing;  // the outputs the interrupted run finished, one per line
  for (const std::string& output : outputs) existing += fs::exists(output) ? output + "\n" : "";
  const auto done = std::count(existing.begin(), existing.end(), '\n');
  ASSERT_LT(done, 10) << "the run ended before the interruption";

  const ProgramResult rerun = RunProgramWith(run);
  EXPECT_EQ(rerun.exitCode, 0);
  EXPECT_TRUE(Contains(rerun.lines, "Files converted: " + std::to_string(10 - done) + " of 10"));
  EXPECT_TRUE(Contains(rerun.lines, "Files skipped: " + std::to_string(done)));
  EXPECT_EQ(RunJq("[., inputs] | map(select(.reason == \"skipped\") | .output + \"\\n\") | sort | add // \"\"",
                  dir / "r.jsonl"),
            existing);
  std::map<std::string, fs::file_time_type> times;
  for (const std::string& output : outputs) {
    EXPECT_TRUE(IsWholePicture(output)) << output;
    times[output] = fs::last_write_time(output);
  }

  const ProgramResult again = RunProgramWith(run);
  EXPECT_EQ(again.exitCode, 0);
  EXPECT_TRUE(Contains(again.lines, "Files converted: 0 of 10") && Contains(again.lines, "Files skipped: 10"));
  for (const auto& [output, time] : times) EXPECT_EQ(fs::last_write_time(output), time) << output;
}

TEST(LargeBatches, ADryRunTouchesNothingAndListsWhatTheRunThenWrites) {
  if (!HaveJq()) GTEST_SKIP() << "jq is not installed";
  TempDir dir;
  WriteDngs(dir, {"in/a.dng", "in/b.dng", "in/day1/c.dng"});
  const std::string older = dir.WriteFile("out/older.txt", "x");
  const Lines run = {"-i", dir / "in", "-o", dir / "out", "-c", "png", "--filename-mask=%n%-%filename%.%ext%"};
  const auto before = FilesBelow(dir.path());
  const auto olderTime = fs::last_write_time(older);
  const auto folderTime = fs::last_write_time(dir / "out");
  Lines dryRun = run;
  dryRun.insert(dryRun.end(), {"--dry-run", "-q", "--report=" + dir / "r.jsonl"});
  const ProgramResult dry = RunProgramWith(dryRun);
  EXPECT_EQ(dry.exitCode, 0);
  EXPECT_EQ(RunJq("select(.reason == \"dry_run\") | 1", dir / "r.jsonl"), "111");
  fs::remove(dir / "r.jsonl");
  EXPECT_EQ(FilesBelow(dir.path()), before);
  EXPECT_EQ(fs::last_write_time(dir / "out"), folderTime);  // no folder made in it, nothing renamed
  EXPECT_EQ(fs::last_write_time(older), olderTime);

  Lines realRun = run;
  realRun.push_back("-d");
  const ProgramResult real = RunProgramWith(realRun);
  Lines written;  // "[DRY RUN] input -> output" made of the real run's lines
  for (std::size_t i = 0; i + 2 < real.lines.size(); ++i) {
    if (real.lines[i].starts_with("Processing: ") && real.lines[i + 2].starts_with("[OK] Saving As: ")) {
      written.push_back("[DRY RUN] " + real.lines[i].substr(12) + " -> " + real.lines[i + 2].substr(16));
      EXPECT_TRUE(IsWholePicture(real.lines[i + 2].substr(16)));
    }
  }
  EXPECT_EQ(dry.lines, written);
  EXPECT_EQ(written.size(), 3u);
}

// The shards of the samples, one of them reading the tree through a link, write the files of a plain run once.
TEST(LargeBatches, ShardsWriteExactlyTheFilesOfOnePlainRun) {
  const std::string samples = SamplesDir();
  if (samples.empty()) GTEST_SKIP() << "no sample folder beside the project";
  if (!HaveJq()) GTEST_SKIP() << "jq is not installed";
  TempDir dir;
  fs::create_directory_symlink(samples, dir / "link");
  const auto convert = [&](const std::string& input, const std::string& out, const std::string& report,
                           const Lines& shard) {
    fs::create_directories(dir / out);
    Lines arguments = {"-q", "-i", input, "-o", dir / out, "-c", "jpg", "--jobs=2", "--report=" + dir / report};
    arguments.insert(arguments.end(), shard.begin(), shard.end());
    return RunProgramWith(arguments).exitCode;
  };
  EXPECT_EQ(convert(samples + "/", "plain", "plain.jsonl", {}), 1);  // the odd samples fail
  Lines merge = {SourceDir() + "/scripts/merge-shard-reports.sh"};
  for (int k = 1; k <= 3; ++k) {
    const std::string report = "shard" + std::to_string(k) + ".jsonl";
    const std::string input = k == 2 ? dir / "link/" : samples + "/";
    EXPECT_LE(convert(input, "sharded", report, {"--shard=" + std::to_string(k) + "/3"}), 1);
    merge.push_back(dir / report);
  }
  EXPECT_EQ(FilesBelow(dir / "plain"), FilesBelow(dir / "sharded"));
  const ProgramResult merged = RunCommand(merge);
  ASSERT_EQ(merged.exitCode, 0) << merged.errorOutput;
  const std::string mergedFile = dir.WriteFile("merged.jsonl", merged.output);
  // Every line but its timing, the workers each run started and (for the linked shard) its index and input folder.
  const std::string comparable =
      "[., inputs] | map(del(.milliseconds, .index, .workers_started) | (.input, .output) |= "
      "(. // \"\" | sub(\"^.*/(link|samples|plain|sharded)/\"; \"\"))) | sort";
  EXPECT_EQ(RunJq(comparable, mergedFile), RunJq(comparable, dir / "plain.jsonl"));
}

}  // namespace
}  // namespace lumivane::testing
