// Batches over hostile inputs, run through the built program: damaged camera files, files and folders the program
// may not read, an output it may not write, a full disk, awkward names and masks, a huge list file, a link loop and
// a decoder that crashes or hangs. In every case: the exact console lines and exit code, no crash or hang, inputs
// unchanged, and only whole outputs.
#include <FreeImage.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "dng/dng_writer.h"
#include "platform/process.h"
#include "support/jq.h"
#include "support/run_program.h"
#include "support/small_disk.h"
#include "support/temp_dir.h"

namespace lumivane::testing {
namespace {

namespace fs = std::filesystem;

// Every run is killed after this long, so a hang fails the test instead of stopping the suite.
const char* const kRunLimitSeconds = "600";

std::vector<std::string> WithRunLimit(std::vector<std::string> launcher) {
  launcher.insert(launcher.begin(), {"/usr/bin/timeout", "-s", "KILL", kRunLimitSeconds});
  return launcher;
}

// The console lines after the banner of a run that collected `added` files and converted `converted`.
std::vector<std::string> RunLines(int added, int converted) {
  std::vector<std::string> lines = {"Preparing...", "Importing...",
                                    "Import complete, new files added: " + std::to_string(added)};
  if (added == 0) {
    lines.insert(lines.end(), {"Conversion stopped", "No input file(s) found. Please, add valid file(s) and try again!"});
  } else if (converted == 0) {
    lines.insert(lines.end(), {"Converting...", "Conversion stopped"});
  } else {
    lines.insert(lines.end(), {"Converting...", "Conversion complete",
                               "Files converted: " + std::to_string(converted) + " of " + std::to_string(added)});
  }
  return lines;
}

// Checks the banner, the lines after it and the exit code: 0 when every collected file converted, else 1.
void ExpectRun(const ProgramResult& result, int added, int converted) {
  ASSERT_GE(result.lines.size(), 4u) << result.output;
  EXPECT_EQ(result.lines[0], "Lumivane 3.0");
  EXPECT_EQ(result.lines[1], "(c) 2026 Tarnwick");
  EXPECT_EQ(std::vector<std::string>(result.lines.begin() + 4, result.lines.end()), RunLines(added, converted));
  EXPECT_EQ(result.exitCode, added > 0 && converted == added ? 0 : 1);
  EXPECT_EQ(result.errorOutput, "");
}

ProgramResult RunLimited(const std::vector<std::string>& arguments, RunOptions options = {}) {
  options.launcher = WithRunLimit(options.launcher);
  return RunProgramWith(arguments, options);
}

// Every regular file below folder (links not followed), with its bytes.
std::map<std::string, std::string> Snapshot(const std::string& folder) {
  std::map<std::string, std::string> files;
  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(folder, fs::directory_options::skip_permission_denied, error);
       it != fs::recursive_directory_iterator(); it.increment(error)) {
    if (it->is_regular_file(error) && !it->is_symlink(error)) files[it->path().string()] = ReadFileBytes(it->path());
  }
  return files;
}

bool IsWholeImage(const std::string& bytes) {
  std::string copy = bytes;
  FIMEMORY* stream = FreeImage_OpenMemory(reinterpret_cast<BYTE*>(copy.data()), static_cast<DWORD>(copy.size()));
  if (stream == nullptr) return false;
  const FREE_IMAGE_FORMAT format = FreeImage_GetFileTypeFromMemory(stream, 0);
  FIBITMAP* image = format == FIF_UNKNOWN ? nullptr : FreeImage_LoadFromMemory(format, stream, 0);
  const bool whole = image != nullptr && FreeImage_GetWidth(image) > 0;
  if (image != nullptr) FreeImage_Unload(image);
  FreeImage_CloseMemory(stream);
  return whole;
}

// The outputs below folder, by file name: each must be a whole image, and no temporary file may be left.
std::vector<std::string> ExpectWholeOutputs(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& [path, bytes] : Snapshot(folder)) {
    const std::string name = fs::path(path).filename().string();
    EXPECT_FALSE(name.starts_with(".lumivane")) << "temporary file left: " << path;
    EXPECT_TRUE(IsWholeImage(bytes)) << "not a whole image: " << path;
    names.push_back(name);
  }
  return names;
}

std::string MakeFolder(const TempDir& dir, const std::string& name, fs::perms perms = fs::perms(0777)) {
  const std::string path = dir / name;
  fs::create_directories(path);
  fs::permissions(path, perms);
  return path + "/";
}

std::string Dng(const TempDir& dir, const std::string& name, std::uint32_t seed = 1) {
  const std::string path = dir / name;
  fs::create_directories(fs::path(path).parent_path());
  EXPECT_TRUE(WriteDngFile(path, DngContent{.width = 64, .height = 48, .seed = seed}));
  return path;
}

// The launcher that runs the program as an unprivileged user when the tests run as root, as CI does; empty when
// they run unprivileged already. Nothing when the user cannot be changed here.
std::optional<std::vector<std::string>> Unprivileged() {
  if (::geteuid() != 0) return std::vector<std::string>{};
  if (::access("/usr/bin/setpriv", X_OK) != 0) return std::nullopt;
  return std::vector<std::string>{"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--"};
}

// A folder the unprivileged user can enter: mkdtemp makes the test's folder private.
void OpenToEveryone(const TempDir& dir) { fs::permissions(dir.path(), fs::perms(0755)); }

std::string FaultyDecoderProgram() {
  return (fs::path(ProgramPath()).parent_path() / "lumivanecmd_faulty_decoder").string();
}

// --- damaged copies of the real samples ---

std::string Truncated(const std::string& bytes, std::size_t size) { return bytes.substr(0, std::min(size, bytes.size())); }

// One bit flipped in every 4099th byte after the first 512: headers mostly intact, image data damaged throughout.
std::string BitFlipped(std::string bytes) {
  for (std::size_t i = 512; i < bytes.size(); i += 4099) bytes[i] = static_cast<char>(bytes[i] ^ 0x10);
  return bytes;
}

TEST(HostileInputs, DamagedCopiesOfTheSamplesFailAloneAndTheRestConverts) {
  const std::string samples = SamplesDir();
  if (samples.empty()) GTEST_SKIP() << "no sample files beside the project (../shared/samples)";
  const TempDir dir;
  const std::string in = MakeFolder(dir, "in");
  const std::string out = MakeFolder(dir, "out");
  int made = 0;
  for (const std::string group : {"camera", "odd"}) {
    for (const auto& entry : fs::directory_iterator(fs::path(samples) / group)) {
      const std::string name = entry.path().stem().string();
      const std::string extension = entry.path().extension().string();
      if (extension == ".CR3") continue;  // not an accepted extension: collection skips it
      const std::string bytes = ReadFileBytes(entry.path());
      dir.WriteFile("in/" + name + "-half" + extension, Truncated(bytes, bytes.size() / 2));
      dir.WriteFile("in/" + name + "-4k" + extension, Truncated(bytes, 4096));
      dir.WriteFile("in/" + name + "-flipped" + extension, BitFlipped(bytes));
      made += 3;
    }
  }
  ASSERT_GT(made, 0);
  Dng(dir, "in/intact.dng");
  ++made;
  const auto before = Snapshot(in);

  const ProgramResult result = RunLimited({"-i", in, "-o", out, "-c", "png"});
  const std::vector<std::string> outputs = ExpectWholeOutputs(out);
  ExpectRun(result, made, static_cast<int>(outputs.size()));
  EXPECT_NE(std::find(outputs.begin(), outputs.end(), "intact.png"), outputs.end());
  EXPECT_EQ(Snapshot(in), before);
}

// --- empty files and headers that claim huge images ---

// Sets the value of a LONG entry of the first IFD of a little-endian TIFF.
void PatchTiffLong(std::string& tiff, std::uint16_t tag, std::uint32_t value) {
  std::uint32_t ifd = 0;
  std::memcpy(&ifd, tiff.data() + 4, 4);
  std::uint16_t count = 0;
  std::memcpy(&count, tiff.data() + ifd, 2);
  for (std::uint16_t i = 0; i < count; ++i) {
    char* entry = tiff.data() + ifd + 2 + 12 * i;
    std::uint16_t entryTag = 0;
    std::memcpy(&entryTag, entry, 2);
    if (entryTag == tag) std::memcpy(entry + 8, &value, 4);
  }
}

TEST(HostileInputs, EmptyFilesAreNotCollectedAndHugeHeadersFail) {
  const TempDir dir;
  const std::string in = MakeFolder(dir, "in");
  const std::string out = MakeFolder(dir, "out");
  dir.WriteFile("in/empty.dng", "");
  dir.WriteFile("in/empty.nef", "");
  Dng(dir, "in/good.dng");
  std::string huge = *MakeDngBytes(DngContent{});
  PatchTiffLong(huge, 256, 0x7FFFFFF0);  // width
  PatchTiffLong(huge, 257, 0x7FFFFFF0);  // height
  dir.WriteFile("in/huge.dng", huge);
  std::string wide = *MakeDngBytes(DngContent{});
  PatchTiffLong(wide, 256, 65000);
  PatchTiffLong(wide, 257, 65000);
  PatchTiffLong(wide, 279, 0xFFFFFFF0);  // strip byte count far past the end of the file
  dir.WriteFile("in/wide.dng", wide);
  const auto before = Snapshot(in);

  const ProgramResult result = RunLimited({"-i", in, "-o", out, "-c", "png"});
  ExpectRun(result, 3, 1);
  EXPECT_EQ(ExpectWholeOutputs(out), std::vector<std::string>{"good.png"});
  EXPECT_EQ(Snapshot(in), before);

  // An empty file named as the input is refused before the batch starts.
  const ProgramResult onlyEmpty = RunLimited({"-i", dir / "in/empty.dng", "-o", out, "-c", "png"});
  ASSERT_GE(onlyEmpty.lines.size(), 4u);
  EXPECT_EQ(std::vector<std::string>(onlyEmpty.lines.begin() + 4, onlyEmpty.lines.end()),
            (std::vector<std::string>{"Preparing...", "Error: Invalid input file"}));
  EXPECT_EQ(onlyEmpty.exitCode, 2);
}

// --- what the program may not read or write ---

TEST(HostileInputs, UnreadableFilesAndFoldersFailOrAreSkippedAsAnUnprivilegedUser) {
  const auto launcher = Unprivileged();
  if (!launcher) GTEST_SKIP() << "running as root without setpriv: cannot drop privileges";
  const TempDir dir;
  OpenToEveryone(dir);
  const std::string in = MakeFolder(dir, "in", fs::perms(0755));
  const std::string out = MakeFolder(dir, "out");
  Dng(dir, "in/good.dng", 1);
  fs::permissions(Dng(dir, "in/secret.dng", 2), fs::perms::none);
  Dng(dir, "in/locked/hidden.dng", 3);
  fs::permissions(dir / "in/locked", fs::perms::none);
  const auto before = Snapshot(in);

  const ProgramResult result = RunLimited({"-i", in, "-o", out, "-c", "png"}, {.launcher = *launcher});
  // The unreadable file is collected (it exists and is not empty) and fails; the locked folder cannot be listed.
  ExpectRun(result, 2, 1);
  EXPECT_EQ(ExpectWholeOutputs(out), std::vector<std::string>{"good.png"});
  EXPECT_EQ(Snapshot(in), before);
}

TEST(HostileInputs, AnOutputFolderThatCannotBeWrittenFailsEveryFileAndKeepsItsOlderOutput) {
  const auto launcher = Unprivileged();
  if (!launcher) GTEST_SKIP() << "running as root without setpriv: cannot drop privileges";
  const TempDir dir;
  OpenToEveryone(dir);
  const std::string in = MakeFolder(dir, "in", fs::perms(0755));
  Dng(dir, "in/good.dng");
  const std::string out = MakeFolder(dir, "out");
  dir.WriteFile("out/good.png", "older output");
  fs::permissions(out, fs::perms(0555));
  const auto before = Snapshot(in);

  const ProgramResult result = RunLimited({"-i", in, "-o", out, "-c", "png"}, {.launcher = *launcher});
  ExpectRun(result, 1, 0);
  EXPECT_EQ(Snapshot(out), (std::map<std::string, std::string>{{out + "good.png", "older output"}}));
  EXPECT_EQ(Snapshot(in), before);
}

TEST(HostileInputs, AFullDiskFailsTheFileAndKeepsTheOlderOutputWhole) {
  const SmallDisk disk("64k");
  if (!disk.mounted()) GTEST_SKIP() << "cannot mount a small tmpfs here: " << disk.error();
  const TempDir dir;
  const std::string in = MakeFolder(dir, "in");
  // 512 x 384 of noise without a preview: far more than 64 KiB as png.
  ASSERT_TRUE(WriteDngFile(dir / "in/big.dng", DngContent{.width = 512, .height = 384, .seed = 5}));
  Dng(dir, "in/small.dng");
  const std::string out = disk.dir().path().string() + "/";
  disk.dir().WriteFile("big.png", "older output");
  const auto before = Snapshot(in);

  const ProgramResult result = RunLimited({"-i", in, "-o", out, "-c", "png"});
  ExpectRun(result, 2, 1);
  EXPECT_EQ(ReadFileBytes(out + "big.png"), "older output");
  const auto outputs = Snapshot(out);
  EXPECT_EQ(outputs.size(), 2u) << "only the older output and the small file's output";
  EXPECT_TRUE(IsWholeImage(ReadFileBytes(out + "small.png")));
  EXPECT_EQ(Snapshot(in), before);
}

// --- masks and names ---

struct MaskCase {
  const char* mask;
  int converted;        // of one file
  const char* written;  // path below the output folder, "" when nothing may be written
  bool fromProfile = false;
};

TEST(HostileInputs, MasksThatPointIntoFoldersWriteThereOrFailCleanly) {
  const MaskCase cases[] = {
      {"missing/%filename%.%ext%", 0, ""},          // a folder that does not exist is not made
      {"%filename%.%ext%/", 0, ""},                 // a name that ends in a separator
      {"sub/%filename%.%ext%", 1, "sub/good.png"},  // a folder that exists
      {"/%filename%.%ext%", 1, "good.png"},         // a leading separator stays inside the output folder
      {"sub", 0, ""},                               // the name of an existing folder is not replaced
      {"../%filename%.%ext%", 0, ""},               // nothing is written outside the output folder
      {"sub/../../%filename%.%ext%", 0, ""},
      {"sub/../%filename%.%ext%", 1, "good.png"},  // ".." that stays inside is fine
      {"../%filename%.%ext%", 0, "", true},        // from a shared profile alike
  };
  for (const MaskCase& c : cases) {
    SCOPED_TRACE(c.mask);
    const TempDir dir;
    const std::string in = MakeFolder(dir, "in");
    Dng(dir, "in/good.dng");
    const std::string out = MakeFolder(dir, "out");
    MakeFolder(dir, "out/sub");
    std::string mask = std::string("--filename-mask=") + c.mask;
    if (c.fromProfile) mask = "--profile=" + dir.WriteFile("in/shared.ini", "[CLI]\n" + mask + "\n");
    const auto before = Snapshot(in);
    const TempDir reportDir;
    const ProgramResult result = RunLimited({"-i", in, "-o", out, "-c", "png", mask, "--report=" + reportDir / "r"});
    ExpectRun(result, 1, c.converted);
    if (std::string(c.mask).starts_with("../") && HaveJq()) {
      EXPECT_EQ(RunJq("select(.type == \"file\") | .reason", reportDir / "r"), "outside_output_folder");
    }
    std::map<std::string, std::string> written = Snapshot(dir.path().string());
    for (const auto& [path, bytes] : before) written.erase(path);
    if (*c.written == '\0') {
      EXPECT_TRUE(written.empty()) << written.begin()->first;
    } else {
      ASSERT_EQ(written.size(), 1u);
      EXPECT_EQ(fs::path(written.begin()->first), fs::path(out + c.written));
      EXPECT_TRUE(IsWholeImage(written.begin()->second));
    }
    EXPECT_FALSE(fs::exists(out + "missing"));
    EXPECT_EQ(Snapshot(in), before);
  }
}

TEST(HostileInputs, AwkwardNamesConvertAndPrintAsOneLineEach) {
  const TempDir dir;
  const std::string in = MakeFolder(dir, "in");
  const std::string out = MakeFolder(dir, "out");
  const std::vector<std::string> names = {"with space.dng", "quote\"and'apostrophe.dng", "new\nline.dng",
                                          "bad\xFF\xFEutf8.dng", "tab\there.dng"};
  for (std::size_t i = 0; i < names.size(); ++i) Dng(dir, "in/" + names[i], static_cast<std::uint32_t>(i + 1));
  const auto before = Snapshot(in);

  const ProgramResult result = RunLimited({"-i", in, "-o", out, "-c", "png"});
  ExpectRun(result, 5, 5);
  std::vector<std::string> outputs = ExpectWholeOutputs(out);
  std::sort(outputs.begin(), outputs.end());
  std::vector<std::string> expected;
  for (const std::string& name : names) expected.push_back(name.substr(0, name.size() - 3) + "png");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(outputs, expected);
  EXPECT_EQ(Snapshot(in), before);

  // In debug mode each file is one "Processing: " line, with control characters as "?" and bad bytes as U+FFFD.
  const TempDir again;
  const std::string out2 = MakeFolder(again, "out");
  const ProgramResult debug = RunLimited({"-d", "-i", in, "-o", out2, "-c", "png"});
  EXPECT_EQ(debug.exitCode, 0);
  const std::vector<std::string> shown = {in + "with space.dng", in + "quote\"and'apostrophe.dng",
                                          in + "new?line.dng", in + "bad\xEF\xBF\xBD\xEF\xBF\xBDutf8.dng",
                                          in + "tab?here.dng"};
  for (const std::string& path : shown) {
    EXPECT_NE(std::find(debug.lines.begin(), debug.lines.end(), "Processing: " + path), debug.lines.end()) << path;
  }
  EXPECT_EQ(std::count_if(debug.lines.begin(), debug.lines.end(),
                          [](const std::string& line) { return line.starts_with("[OK] Saving As: "); }),
            5);
}

// --- collection ---

TEST(HostileInputs, AMillionLineListWithFewExistingFilesCollectsThoseFew) {
  const TempDir dir;
  const std::string out = MakeFolder(dir, "out");
  const std::string first = Dng(dir, "in/first.dng", 1);
  const std::string middle = Dng(dir, "in/middle.dng", 2);
  const std::string last = Dng(dir, "in/last.dng", 3);
  const std::string list = dir / "list.txt";
  {
    std::ofstream file(list, std::ios::binary);
    file << first << "\n";
    for (int i = 0; i < 1000000; ++i) {
      if (i == 500000) file << middle << "\n";
      file << dir.path().string() << "/gone/photo" << i << ".dng\n";
    }
    file << last << "\n";
  }
  const auto before = Snapshot(dir / "in");
  const std::string listBefore = ReadFileBytes(list);

  const ProgramResult result = RunLimited({"-i", list, "-o", out, "-c", "png"});
  ExpectRun(result, 3, 3);
  std::vector<std::string> outputs = ExpectWholeOutputs(out);
  std::sort(outputs.begin(), outputs.end());
  EXPECT_EQ(outputs, (std::vector<std::string>{"first.png", "last.png", "middle.png"}));
  EXPECT_EQ(Snapshot(dir / "in"), before);
  EXPECT_EQ(ReadFileBytes(list), listBefore);
}

TEST(HostileInputs, ASymbolicLinkLoopIsWalkedOnce) {
  const TempDir dir;
  const std::string in = MakeFolder(dir, "in");
  const std::string out = MakeFolder(dir, "out");
  Dng(dir, "in/top.dng", 1);
  Dng(dir, "in/a/b/deep.dng", 2);
  fs::create_directory_symlink("../..", dir / "in/a/b/up");  // in/a/b/up -> in
  fs::create_directory_symlink(".", dir / "in/a/self");
  const auto before = Snapshot(in);

  const ProgramResult result = RunLimited({"-i", in, "-o", out, "-c", "png"});
  ExpectRun(result, 2, 2);
  std::vector<std::string> outputs = ExpectWholeOutputs(out);
  std::sort(outputs.begin(), outputs.end());
  EXPECT_EQ(outputs, (std::vector<std::string>{"deep.png", "top.png"}));
  EXPECT_EQ(Snapshot(in), before);
}

// --- a decoder that crashes or hangs ---

// Three good camera files and three on which the test decoder aborts, faults or hangs, in a list file.
std::vector<std::string> WriteFaultyBatch(const TempDir& dir, const std::string& list) {
  const std::vector<std::string> files = {
      Dng(dir, "in/a.dng", 1),
      dir.WriteFile("in/abort.dng", "LUMIVANE-ABORT and then some camera data"),
      dir.WriteFile("in/segv.dng", "LUMIVANE-SEGV and then some camera data"),
      Dng(dir, "in/b.dng", 2),
      dir.WriteFile("in/hang.dng", "LUMIVANE-HANG and then some camera data"),
      Dng(dir, "in/c.dng", 3),
  };
  std::ofstream file(list, std::ios::binary);
  for (const std::string& path : files) file << path << "\n";
  return files;
}

// The outputs named "0000N-<base>.png" use the numbers 1 to 3, each good file one of them.
void ExpectGoodFilesNumberedOneToThree(const std::string& out) {
  std::vector<std::string> outputs = ExpectWholeOutputs(out);
  std::sort(outputs.begin(), outputs.end());
  ASSERT_EQ(outputs.size(), 3u);
  std::vector<std::string> bases;
  for (std::size_t i = 0; i < outputs.size(); ++i) {
    EXPECT_EQ(outputs[i].substr(0, 6), "0000" + std::to_string(i + 1) + "-") << outputs[i];
    bases.push_back(outputs[i].substr(6));
  }
  std::sort(bases.begin(), bases.end());
  EXPECT_EQ(bases, (std::vector<std::string>{"a.png", "b.png", "c.png"}));
}

TEST(HostileInputs, AFileOnWhichTheDecoderCrashesOrHangsFailsAloneWithoutUsingANumber) {
  const std::string program = FaultyDecoderProgram();
  ASSERT_EQ(::access(program.c_str(), X_OK), 0) << "build lumivanecmd_faulty_decoder (tools/) first: " << program;
  const TempDir dir;
  const std::string list = dir / "list.txt";
  const std::string out = MakeFolder(dir, "out");
  // The conversion order is that of the collected-file table, so which good file gets which number is not fixed
  // here; the failed ones must use up none.
  const std::vector<std::string> files = WriteFaultyBatch(dir, list);
  const auto before = Snapshot(dir / "in");
  const RunOptions options{.extraEnvironment = {"LUMIVANE_WORKER_TIME_LIMIT_MS=1500"}, .program = program};

  const ProgramResult result = RunLimited({"-i", list, "-o", out, "-c", "png", "--filename-mask=%n%-%filename%.%ext%"},
                                   options);
  ExpectRun(result, 6, 3);
  ExpectGoodFilesNumberedOneToThree(out);
  EXPECT_EQ(Snapshot(dir / "in"), before);

  // The same files converted in-process take the whole program down: the decoder really does crash. The hanging
  // file stays out of this list: taken first in the collected-file order, it would hold the run until the run
  // limit kills it, minutes later.
  const std::string crashingList = dir / "crashing.txt";
  {
    std::ofstream file(crashingList, std::ios::binary);
    for (const std::string& path : files) {
      if (path.find("hang.dng") == std::string::npos) file << path << "\n";
    }
  }
  RunOptions inProcess = options;
  inProcess.extraEnvironment.push_back("LUMIVANE_IN_PROCESS=1");
  const TempDir other;
  const ProgramResult crashed =
      RunLimited({"-i", crashingList, "-o", MakeFolder(other, "out"), "-c", "png"}, inProcess);
  EXPECT_NE(crashed.exitCode, 0);
  EXPECT_NE(crashed.exitCode, 1);
  EXPECT_EQ(std::find(crashed.lines.begin(), crashed.lines.end(), "Conversion complete"), crashed.lines.end())
      << "expected the in-process run to die before its end";
}

// With several files at once the faulty files still fail alone, the good ones keep their numbers, the workers of
// the good files are not disturbed, and the report says why each faulty file failed.
TEST(HostileInputs, WithSeveralJobsTheFaultyFilesFailAloneAndTheReportSaysWhy) {
  if (!HaveJq()) GTEST_SKIP() << "jq is not installed";
  const std::string program = FaultyDecoderProgram();
  ASSERT_EQ(::access(program.c_str(), X_OK), 0) << "build lumivanecmd_faulty_decoder (tools/) first: " << program;
  const TempDir dir;
  const std::string list = dir / "list.txt";
  const std::string out = MakeFolder(dir, "out");
  WriteFaultyBatch(dir, list);
  const auto before = Snapshot(dir / "in");
  const RunOptions options{.extraEnvironment = {"LUMIVANE_WORKER_TIME_LIMIT_MS=1500"}, .program = program};
  const std::string report = dir / "report.jsonl";
  const ProgramResult result = RunLimited({"-i", list, "-o", out, "-c", "png", "--filename-mask=%n%-%filename%.%ext%",
                                           "--jobs=3", "--report=" + report},
                                          options);
  ExpectRun(result, 6, 3);
  ExpectGoodFilesNumberedOneToThree(out);
  EXPECT_EQ(Snapshot(dir / "in"), before);
  const std::optional<std::string> reasons = RunJq(
      R"(select(.type == "file") | (.input | split("/") | last) + "=" + (.reason // "ok") + ";")", report);
  ASSERT_TRUE(reasons.has_value());
  for (const char* expected : {"abort.dng=worker_crashed;", "segv.dng=worker_crashed;",
                               "hang.dng=worker_timed_out;", "a.dng=ok;", "b.dng=ok;", "c.dng=ok;"}) {
    EXPECT_NE(reasons->find(expected), std::string::npos) << expected << " in " << *reasons;
  }
}

// --- an attacked run: workers, links, limits, descriptors, signals ---

// The report's summary field, or "" when the report holds no whole summary.
std::string SummaryField(const std::string& report, const std::string& field) {
  return RunJq("select(.type == \"summary\") | ." + field + " | tostring", report).value_or("");
}

// Fresh worker processes set their fonts and libraries up themselves: no undamaged file fails while two files
// with a text watermark convert at once among damaged ones.
TEST(HostileInputs, UndamagedFilesNeverFailWithATextWatermarkAndTwoJobs) {
  const std::string samples = SamplesDir();
  if (samples.empty() || !HaveJq()) GTEST_SKIP() << "no sample files beside the project, or no jq";
  const TempDir dir;
  const std::string in = MakeFolder(dir, "in");
  int cut = 0;
  for (const auto& entry : fs::directory_iterator(fs::path(samples) / "camera")) {
    const std::string name = entry.path().filename().string();
    const std::string bytes = ReadFileBytes(entry.path());
    for (const char* copy : {"1-", "2-"}) dir.WriteFile("in/" + std::string(copy) + name, bytes);
    for (const std::size_t part : {std::size_t{3}, std::size_t{5}}) {
      if (cut < 26) dir.WriteFile("in/cut" + std::to_string(cut++) + "-" + name, Truncated(bytes, bytes.size() / part));
    }
  }
  for (int round = 0; round < 3; ++round) {
    const std::string report = dir / ("report" + std::to_string(round) + ".jsonl");
    const ProgramResult result = RunLimited({"-q", "-i", in, "-o", MakeFolder(dir, "out" + std::to_string(round)), "-c",
                                             "jpg", "--wm-text=x", "--jobs=2", "--report=" + report});
    EXPECT_EQ(RunJq(R"(select(.type == "file" and .converted == false and (.input | contains("/cut") | not)) | .input)",
                    report),
              "")
        << "round " << round;
    EXPECT_EQ(SummaryField(report, "jobs"), "2") << "two files at once";
  }
}

TEST(HostileInputs, AReportNamingAnInputOrTheListThroughALinkIsRefusedBeforeAnythingIsWritten) {
  const TempDir dir;
  const std::string input = Dng(dir, "in/a.dng");
  const std::string list = dir.WriteFile("list.txt", input + "\n");
  const std::string out = MakeFolder(dir, "out");
  fs::create_hard_link(input, dir / "hard.json");
  fs::create_symlink(input, dir / "soft.json");
  fs::create_symlink(list, dir / "list.json");
  const auto before = Snapshot(dir.path().string());
  for (const char* report : {"hard.json", "soft.json", "list.json"}) {
    const ProgramResult result = RunLimited({"-q", "-i", list, "-o", out, "-c", "png", "--report=" + dir / report});
    EXPECT_EQ(result.lines, std::vector<std::string>{"Error: Invalid report file"}) << report;
    EXPECT_EQ(result.exitCode, 2) << report;
    EXPECT_EQ(Snapshot(dir.path().string()), before) << report;
  }
}

// Too few processes, threads, descriptors or memory: the run goes on with what it gets, in the main process if need
// be; a file that finds too little memory fails with its reason.
TEST(HostileInputs, ScarceProcessesDescriptorsAndMemoryNeverEndTheRun) {
  const auto launcher = Unprivileged();  // the process limit does not bind root
  if (!launcher || !HaveJq()) GTEST_SKIP() << "cannot drop privileges here, or no jq";
  // The sanitizers' own leak-check thread and descriptors need what these limits take away.
  if (kSanitizedBuild) GTEST_SKIP() << "a sanitized build needs more processes and descriptors than allowed here";
  const struct {
    const char* limit;
    const char* jobs;
    const char* inProcess;
    bool bigFile;  // one file far larger than the memory limit allows
  } cases[] = {{"--nproc=1", "--jobs=2", "true", false},
               {"--nofile=20", "--jobs=8", "false", false},
               {"--as=60000000", "--jobs=2", "false", true}};
  for (const auto& c : cases) {
    const TempDir dir;
    OpenToEveryone(dir);
    const std::string in = MakeFolder(dir, "in", fs::perms(0755));
    for (std::uint32_t seed = 1; seed <= 4; ++seed) Dng(dir, "in/f" + std::to_string(seed) + ".dng", seed);
    if (c.bigFile) ASSERT_TRUE(WriteDngFile(dir / "in/big.dng", DngContent{.width = 6000, .height = 4000}));
    const std::string report = MakeFolder(dir, "report") + "r.jsonl";
    std::vector<std::string> limited = *launcher;
    limited.insert(limited.end(), {"/usr/bin/prlimit", c.limit, "--"});
    const ProgramResult result = RunLimited(
        {"-i", in, "-o", MakeFolder(dir, "out"), "-c", "png", c.jobs, "--report=" + report}, {.launcher = limited});
    ExpectRun(result, c.bigFile ? 5 : 4, 4);
    EXPECT_EQ(SummaryField(report, "in_process"), c.inProcess) << c.limit;
    EXPECT_EQ(RunJq("select(.converted == false) | .reason", report), c.bigFile ? "out_of_memory" : "") << c.limit;
  }
}

TEST(HostileInputs, ClosedStandardDescriptorsKeepTheConsoleOutOfTheWorkersAndTheReport) {
  if (!HaveJq()) GTEST_SKIP() << "jq is not installed";
  const TempDir dir;
  for (std::uint32_t seed = 1; seed <= 3; ++seed) Dng(dir, "in/f" + std::to_string(seed) + ".dng", seed);
  const std::string report = dir / "report.jsonl";
  const ProgramResult result =
      RunLimited({"-i", dir / "in", "-o", MakeFolder(dir, "out"), "-c", "png", "--jobs=2", "--report=" + report},
                 {.launcher = {"/bin/sh", "-c", "exec \"$0\" \"$@\" <&- >&-"}});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(ExpectWholeOutputs(dir / "out").size(), 3u);
  EXPECT_EQ(RunJq(".type + \";\"", report), "file;file;file;summary;") << "every line is JSON";
}

// Ctrl-C reaches the whole process group, workers included. Every run ends within two seconds with 128 + the
// signal's number, leaves only whole outputs and reports the files it cut off as interrupted.
TEST(HostileInputs, AStopSignalAtAnyPointEndsTheRunQuicklyLeavingOnlyWholeFiles) {
  if (!HaveJq()) GTEST_SKIP() << "jq is not installed";
  const TempDir dir;
  const std::string in = MakeFolder(dir, "in");
  for (std::uint32_t seed = 1; seed <= 10; ++seed) {
    ASSERT_TRUE(WriteDngFile(in + "f" + std::to_string(seed) + ".dng",
                             DngContent{.width = 1600, .height = 1200, .seed = seed}));
  }
  std::mt19937 random(std::random_device{}());
  const struct {
    int signal;
    int exitCode;
    int runs;
  } cases[] = {{SIGINT, 130, 10}, {SIGTERM, 143, 1}, {SIGHUP, 129, 1}};
  int run = 0;
  for (const auto& c : cases) {
    for (int n = 0; n < c.runs; ++n, ++run) {
      const std::string out = MakeFolder(dir, "out" + std::to_string(run));
      const std::string report = dir / ("report" + std::to_string(run) + ".jsonl");
      RunningProgram program(
          {"-i", in, "-o", out, "-c", "tiff", "--raw-load-as=48", "--tiff-bpp=48", "--jobs=2", "--report=" + report},
          /*ownProcessGroup=*/true);
      ASSERT_TRUE(program.WaitForOutput("Converting...", 60000));
      std::this_thread::sleep_for(std::chrono::milliseconds(random() % 600));
      const auto signalled = std::chrono::steady_clock::now();
      ASSERT_EQ(::kill(-program.pid(), c.signal), 0);
      ASSERT_TRUE(program.WaitForExit(10000));
      EXPECT_LT(std::chrono::steady_clock::now() - signalled, std::chrono::seconds(2)) << "run " << run;
      EXPECT_EQ(program.result().exitCode, c.exitCode) << "run " << run;
      EXPECT_EQ(program.result().lines.empty() ? "" : program.result().lines.back(), "Conversion stopped");
      ExpectWholeOutputs(out);
      EXPECT_EQ(SummaryField(report, "interrupted"), "true") << "run " << run;
      EXPECT_EQ(RunJq(R"(select(.reason != null and .reason != "interrupted") | .reason)", report), "");
    }
  }
}

TEST(HostileInputs, LinksToAnAncestorToProcAndAFanOfLinksImportQuicklyAndConvertEachFileOnce) {
  const TempDir dir;
  const std::string in = MakeFolder(dir, "in");
  Dng(dir, "in/top.dng", 1);
  Dng(dir, "in/level3/deep.dng", 2);
  fs::create_directory_symlink("..", dir / "in/up");
  fs::create_directory_symlink("/proc/self", dir / "in/proc");
  for (int level = 0; level < 3; ++level) {  // level0/{a,b,c,d} -> level1 ... level2/{a,b,c,d} -> level3
    for (const char* link : {"a", "b", "c", "d"}) {
      fs::create_directories(dir / ("in/level" + std::to_string(level)));
      fs::create_directory_symlink("../level" + std::to_string(level + 1),
                                   dir / ("in/level" + std::to_string(level) + "/" + link));
    }
  }
  const std::string out = MakeFolder(dir, "out");
  ProgramResult result =
      RunProgramWith({"-i", in, "-o", out, "-c", "png"}, {.launcher = {"/usr/bin/timeout", "-s", "KILL", "30"}});
  ExpectRun(result, 2, 2);
  std::vector<std::string> outputs = ExpectWholeOutputs(out);
  std::sort(outputs.begin(), outputs.end());
  EXPECT_EQ(outputs, (std::vector<std::string>{"deep.png", "top.png"}));
}

TEST(HostileInputs, APipeAsTheProfileIsRefusedAtOnce) {
  const TempDir dir;
  const std::string fifo = dir / "profile.ini";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const ProgramResult result =
      RunProgramWith({"-i", dir / "in", "--profile=" + fifo}, {.launcher = {"/usr/bin/timeout", "-s", "KILL", "30"}});
  EXPECT_EQ(result.lines, std::vector<std::string>{"Error: Invalid profile file"});
  EXPECT_EQ(result.exitCode, 2);
}

// A path longer than the system allows is collected and fails with its reason; a report that the disk cannot take
// whole makes the run end with 1 although every file converted.
TEST(HostileInputs, APathTooLongFailsWithItsReasonAndAnIncompleteReportFailsTheRun) {
  if (!HaveJq()) GTEST_SKIP() << "jq is not installed";
  const TempDir dir;
  Dng(dir, "in/good.dng");
  std::string deep = dir / "in";
  while (deep.size() < PATH_MAX - 150) deep += "/" + std::string(100, 'd');
  fs::create_directories(deep);
  const std::string name = std::string(250, 'n') + ".dng";
  ASSERT_GT(deep.size() + 1 + name.size(), std::size_t{PATH_MAX});
  ASSERT_TRUE(WriteDngFile(dir / "short.dng", DngContent{}));
  const int folder = ::open(deep.c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_GE(folder, 0);
  ASSERT_EQ(::renameat(AT_FDCWD, (dir / "short.dng").c_str(), folder, name.c_str()), 0);
  ::close(folder);
  const std::string report = dir / "report.jsonl";
  const ProgramResult result =
      RunLimited({"-i", dir / "in", "-o", MakeFolder(dir, "out"), "-c", "png", "--report=" + report});
  ExpectRun(result, 2, 1);
  EXPECT_EQ(RunJq(R"(select(.converted == false) | .reason)", report), "path_too_long");

  const SmallDisk disk("64k");
  if (!disk.mounted()) GTEST_SKIP() << "cannot mount a small tmpfs here: " << disk.error();
  disk.dir().WriteFile("filler", std::string(64 * 1024, 'x'));  // as much as the disk takes
  const ProgramResult full = RunLimited({"-i", dir / "in/good.dng", "-o", MakeFolder(dir, "out2"), "-c", "png",
                                         "--report=" + disk.dir() / "report.jsonl"});
  EXPECT_EQ(full.lines.back(), "Files converted: 1 of 1");
  EXPECT_EQ(full.exitCode, 1);
}

}  // namespace
}  // namespace lumivane::testing
