// Converting several files at once: the same console lines, names and bytes as one file after the other; the
// progress line on a terminal only; the JSON Lines report.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "dng/dng_writer.h"
#include "support/run_program.h"
#include "support/jq.h"
#include "support/temp_dir.h"

namespace lumivane::testing {
namespace {

namespace fs = std::filesystem;

DngContent Dng(std::int64_t width, std::int64_t height, std::uint32_t seed) {
  DngContent content;
  content.width = width;
  content.height = height;
  content.seed = seed;
  return content;
}

// Every file below the folder: relative path -> bytes.
std::map<std::string, std::string> FilesBelow(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) files[fs::relative(entry.path(), folder).string()] = ReadFileBytes(entry.path());
  }
  return files;
}

// The lines with the output folder written as "<out>" and without the "Jobs: " line.
std::vector<std::string> Comparable(const ProgramResult& result, const std::string& outputFolder) {
  std::vector<std::string> lines;
  for (std::string line : result.lines) {
    if (line.rfind("Jobs: ", 0) == 0) continue;
    for (std::size_t at; (at = line.find(outputFolder)) != std::string::npos;) {
      line.replace(at, outputFolder.size(), "<out>");
    }
    lines.push_back(line);
  }
  return lines;
}

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// Copies the sample camera files (and the odd ones, which fail) into a folder; false when there are no samples.
bool CopySamples(const std::string& folder) {
  const std::string samples = SamplesDir();
  if (samples.empty()) return false;
  fs::create_directories(folder);
  for (const char* part : {"camera", "odd"}) {
    for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(samples) / part)) {
      if (entry.is_regular_file()) fs::copy_file(entry.path(), fs::path(folder) / entry.path().filename());
    }
  }
  return true;
}

TEST(ParallelConversion, FourJobsGiveTheConsoleLinesNamesAndBytesOfOne) {
  TempDir dir;
  if (!CopySamples(dir / "in")) GTEST_SKIP() << "no sample folder";
  std::map<int, ProgramResult> results;
  std::map<int, std::map<std::string, std::string>> outputs;
  for (const int jobs : {1, 4}) {
    const std::string out = dir / ("out" + std::to_string(jobs));
    fs::create_directories(out);
    results[jobs] = RunProgramWith({"-d", "-i", dir / "in", "-o", out, "-c", "jpg",
                                    "--filename-mask=%filename%-%n%.%ext%", "--jobs=" + std::to_string(jobs)});
    outputs[jobs] = FilesBelow(out);
  }
  const ProgramResult& one = results[1];
  const ProgramResult& four = results[4];
  EXPECT_EQ(one.exitCode, four.exitCode);
  EXPECT_TRUE(Contains(one.lines, "Jobs: 1"));
  EXPECT_TRUE(Contains(four.lines, "Jobs: 4"));
  EXPECT_EQ(Comparable(one, dir / "out1"), Comparable(four, dir / "out4"));
  ASSERT_GE(outputs[1].size(), 5u) << one.output;  // most samples convert
  EXPECT_EQ(outputs[1], outputs[4]);               // names (with "%n%") and bytes
  EXPECT_TRUE(std::any_of(outputs[1].begin(), outputs[1].end(),
                          [](const auto& file) { return file.first.ends_with("-00001.jpg"); }));
  EXPECT_EQ(one.errorOutput, "");
  EXPECT_EQ(four.errorOutput, "");
}

TEST(ParallelConversion, AWatermarkCountingFilesGoesOneAtATime) {
  TempDir dir;
  fs::create_directories(dir / "in");
  for (std::uint32_t seed = 1; seed <= 3; ++seed) {
    ASSERT_TRUE(WriteDngFile(dir / ("in/f" + std::to_string(seed) + ".dng"), Dng(64, 48, seed)));
  }
  fs::create_directories(dir / "out");
  const ProgramResult result = RunProgramWith({"-d", "-q", "-i", dir / "in", "-o", dir / "out", "-c", "png",
                                               "--jobs=4", "--wm-text=No. %n%", "--filename-mask=%n%"});
  EXPECT_TRUE(Contains(result.lines, "Jobs: 4 (one file at a time: the watermark text uses %n%)")) << result.output;
  // The listing line comes right after "Keep Subfolders: ".
  const auto jobsLine = std::find_if(result.lines.begin(), result.lines.end(),
                                     [](const std::string& line) { return line.rfind("Jobs: ", 0) == 0; });
  ASSERT_NE(jobsLine, result.lines.begin());
  EXPECT_EQ((jobsLine - 1)->rfind("Keep Subfolders: ", 0), 0u);
  EXPECT_EQ(FilesBelow(dir / "out").size(), 3u);
}

TEST(ParallelConversion, NoJobsLineUnlessAsked) {
  TempDir dir;
  fs::create_directories(dir / "in");
  ASSERT_TRUE(WriteDngFile(dir / "in/a.dng", DngContent{}));
  const ProgramResult result = RunProgramWith({"-d", "-q", "-i", dir / "in", "-o", dir / "in", "-c", "png"});
  for (const std::string& line : result.lines) EXPECT_NE(line.rfind("Jobs: ", 0), 0u) << line;
}

TEST(ParallelConversion, MalformedRunOptionsAndAnUnwritableReport) {
  const struct {
    std::vector<std::string> arguments;
    const char* line;
  } cases[] = {
      {{"-i", "x", "--jobs=-1"}, "Error: Invalid jobs value"},
      {{"-i", "x", "--jobs=two"}, "Error: Invalid jobs value"},
      {{"-i", "x", "--jobs="}, "Error: Incorrect number of parameters"},
      {{"-i", "x", "--report="}, "Error: Incorrect number of parameters"},
  };
  for (const auto& c : cases) {
    const ProgramResult result = RunProgramWith(c.arguments);
    EXPECT_EQ(result.exitCode, 2) << c.line;
    EXPECT_EQ(result.lines, (std::vector<std::string>{c.line}));
  }
  TempDir dir;
  fs::create_directories(dir / "in");
  ASSERT_TRUE(WriteDngFile(dir / "in/a.dng", DngContent{}));
  const ProgramResult result =
      RunProgramWith({"-q", "-i", dir / "in", "-o", dir / "in", "--report=" + dir / "missing/r.jsonl"});
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_EQ(result.lines, (std::vector<std::string>{"Error: Invalid report file"}));
  EXPECT_EQ(FilesBelow(dir / "in").size(), 1u);  // nothing converted

  // A report never takes the place of a camera file or of the list it reads.
  const std::string list = dir.WriteFile("list.txt", dir / "in/a.dng");
  const auto files = FilesBelow(dir.path());
  for (const std::string& report : {dir / "in/a.dng", dir / "in/new.NEF", list}) {
    const ProgramResult refused = RunProgramWith({"-q", "-i", list, "-o", dir / "in", "--report=" + report});
    EXPECT_EQ(refused.exitCode, 2) << report;
    EXPECT_EQ(refused.lines, (std::vector<std::string>{"Error: Invalid report file"})) << report;
    EXPECT_EQ(FilesBelow(dir.path()), files) << report;
  }
}

TEST(ParallelConversion, TheReportNamesEachFailuresReason) {
  if (!HaveJq()) GTEST_SKIP() << "jq is not installed";
  TempDir dir;
  fs::create_directories(dir / "in");
  ASSERT_TRUE(WriteDngFile(dir / "in/good1.dng", Dng(64, 48, 1)));
  ASSERT_TRUE(WriteDngFile(dir / "in/good2.dng", Dng(64, 48, 2)));
  dir.WriteFile("in/garbage.dng", "this is not a camera file");
  fs::create_directories(dir / "out");
  const std::string report = dir / "report.jsonl";
  const ProgramResult result = RunProgramWith(
      {"-q", "-i", dir / "in", "-o", dir / "out", "-c", "ico", "--jobs=2", "--report=" + report});
  // ico refuses a non-square image: an encoder failure beside a decoder failure.
  EXPECT_EQ(result.exitCode, 1) << result.output;
  // Each line parses on its own, as a reader following the batch reads it.
  const std::string text = ReadFileBytes(report);
  std::size_t lines = 0;
  for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1, ++lines) {
    const std::string one = dir.WriteFile("line.json", text.substr(start, end - start));
    EXPECT_TRUE(RunJq(".type", one).has_value()) << text.substr(start, end - start);
  }
  EXPECT_EQ(lines, 4u);
  const std::optional<std::string> reasons =
      RunJq(R"(select(.type == "file") | (.input | split("/") | last) + "=" + (.reason // "ok") + ";")", report);
  ASSERT_TRUE(reasons.has_value());
  EXPECT_NE(reasons->find("garbage.dng=undecodable;"), std::string::npos) << *reasons;
  EXPECT_NE(reasons->find("good1.dng=encode_failed;"), std::string::npos) << *reasons;
  EXPECT_EQ(RunJq(R"jq(select(.type == "summary") | "\(.files) \(.converted) \(.failed) \(.jobs)")jq", report),
            "3 0 3 2");
}

// The program run under a pseudo-terminal by script(1); its output as the terminal got it.
std::string RunOnTerminal(const std::vector<std::string>& arguments) {
  std::string command = "'" + ProgramPath() + "'";
  for (const std::string& argument : arguments) command += " '" + argument + "'";
  std::FILE* pipe = ::popen(("script -qec \"" + command + "\" /dev/null 2>/dev/null").c_str(), "r");
  if (pipe == nullptr) return "";
  std::string out;
  char buffer[4096];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, got);
  ::pclose(pipe);
  return out;
}

TEST(ParallelConversion, ProgressShowsOnATerminalOnly) {
  if (std::system("script --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "script is not installed";
  TempDir dir;
  fs::create_directories(dir / "in");
  for (std::uint32_t seed = 1; seed <= 3; ++seed) {
    ASSERT_TRUE(WriteDngFile(dir / ("in/f" + std::to_string(seed) + ".dng"), Dng(64, 48, seed)));
  }
  fs::create_directories(dir / "out");
  const std::vector<std::string> base = {"-d", "-i", dir / "in", "-o", dir / "out", "-c", "png", "--jobs=2"};
  std::vector<std::string> withProgress = base;
  withProgress.push_back("--progress");

  // Redirected: byte for byte the same output as without the option.
  const ProgramResult plain = RunProgramWith(base);
  const ProgramResult redirected = RunProgramWith(withProgress);
  EXPECT_EQ(redirected.output, plain.output);
  EXPECT_EQ(redirected.output.find("/3 files"), std::string::npos);

  // On a terminal: the line is drawn in place and erased before each other line, which stays whole.
  const std::string shown = RunOnTerminal(withProgress);
  EXPECT_NE(shown.find("\r\x1b[K0/3 files"), std::string::npos) << shown;
  EXPECT_NE(shown.find("\r\x1b[K3/3 files"), std::string::npos) << shown;
  for (const std::string& line : plain.lines) {
    if (line.empty()) continue;
    EXPECT_NE(shown.find(line + "\r"), std::string::npos) << line;  // each whole line, then its line end
  }
  EXPECT_NE(shown.find("\r\x1b[KConversion complete\r"), std::string::npos) << shown;
}

}  // namespace
}  // namespace lumivane::testing
