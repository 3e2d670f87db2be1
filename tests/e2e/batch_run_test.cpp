// Whole conversion runs through lumivanecmd: the status lines, the debug listing, the per-file log, the files
// written and the exit codes.
#include <FreeImage.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "dng/dng_writer.h"
#include "settings/product.h"
#include "support/jq.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace lumivane::testing {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

const Lines kBanner = {ProductTitle(), MakerNotice(true), std::string(kWebAddress), " "};

// What a written file holds, read back with FreeImage.
struct ReadBack {
  bool loaded = false;
  unsigned width = 0;
  unsigned height = 0;
  unsigned bitsPerPixel = 0;
  bool allBlack = true;
};

// The line `back` places before the end ("" when there are not that many), so a run that printed less fails the
// comparison instead of reading past the lines.
std::string LineFromEnd(const Lines& lines, std::size_t back = 1) {
  return lines.size() >= back ? lines[lines.size() - back] : std::string();
}

ReadBack ReadImage(const std::string& path) {
  ReadBack result;
  const FREE_IMAGE_FORMAT format = FreeImage_GetFileType(path.c_str(), 0);
  FIBITMAP* image = FreeImage_Load(format, path.c_str(), 0);
  if (image == nullptr) return result;
  result.loaded = true;
  result.width = FreeImage_GetWidth(image);
  result.height = FreeImage_GetHeight(image);
  result.bitsPerPixel = FreeImage_GetBPP(image);
  FIBITMAP* standard = FreeImage_ConvertTo24Bits(image);
  for (unsigned y = 0; standard != nullptr && y < result.height && result.allBlack; ++y) {
    const BYTE* row = FreeImage_GetScanLine(standard, static_cast<int>(y));
    result.allBlack = std::all_of(row, row + 3 * result.width, [](BYTE value) { return value == 0; });
  }
  if (standard != nullptr) FreeImage_Unload(standard);
  FreeImage_Unload(image);
  return result;
}

class BatchRunProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(In());
    fs::create_directories(Out());
  }

  std::string In() const { return dir_ / "in"; }
  std::string Out() const { return dir_ / "out"; }

  std::string Photo(const std::string& name, int width = 64, int height = 48) const {
    const std::string path = In() + "/" + name;
    DngContent content;
    content.width = width;
    content.height = height;
    EXPECT_TRUE(WriteDngFile(path, content));
    return path;
  }

  // Runs with -i In() -o Out() and the extra arguments.
  ProgramResult Convert(const std::vector<std::string>& arguments) const {
    std::vector<std::string> all = {"-i", In(), "-o", Out()};
    all.insert(all.end(), arguments.begin(), arguments.end());
    ProgramResult result = RunProgramWith(all);
    EXPECT_EQ(result.errorOutput, "");
    return result;
  }

  Lines OutputNames() const {
    Lines names;
    for (const auto& entry : fs::recursive_directory_iterator(Out())) {
      if (entry.is_regular_file()) names.push_back(fs::relative(entry.path(), Out()).string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  TempDir dir_;
};

TEST_F(BatchRunProgramTest, DebugJpgRunShowsTheWholeListingAndTheFilesLog) {
  const std::string photo = Photo("a.dng");
  const ProgramResult result = Convert({"-c", "jpg", "--jpg-quality=90", "-d"});
  Lines expected = kBanner;
  const Lines run = {"Preparing...",
                     "Input: " + In(),
                     "Output: " + Out(),
                     "Conversion: jpg",
                     "RAW Load As: auto",
                     "RAW Header Size: 0",
                     "RAW Image Width: 0",
                     "RAW Image Height: 0",
                     "RAW Tone Mapping: al",
                     "JPG BPP: 0",
                     "JPG Quality: 90",
                     "JPG Chroma Subsampling: none",
                     "JPG Save As: standard",
                     "Flip Horizontal: 0",
                     "Flip Vertical: 0",
                     "Greyscale: 0",
                     "Frame: none",
                     "Watermark: none",
                     "Filename Mask: %filename%.%ext%",
                     "File Timestamp: current",
                     "Keep Subfolders: 1",
                     "Importing...",
                     "Import complete, new files added: 1",
                     "Converting...",
                     "Processing: " + photo,
                     "File Format: TIFF (LE)",
                     "[OK] Saving As: " + Out() + "/a.jpg",
                     "Conversion complete",
                     "Files converted: 1 of 1"};
  expected.insert(expected.end(), run.begin(), run.end());
  EXPECT_EQ(result.lines, expected);
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(OutputNames(), Lines{"a.jpg"});
}

TEST_F(BatchRunProgramTest, GammaIsCheckedAfterItsGroupsLines) {
  Photo("a.dng");
  const struct {
    const char* gamma;
    const char* shown;
    bool valid;
  } cases[] = {
      {"0.009", "Gamma: 0.01", false},
      {"10", "Gamma: 10.00", false},
      {"0.01", "Gamma: 0.01", true},
      {"9.99", "Gamma: 9.99", true},
  };
  for (const auto& c : cases) {
    fs::remove_all(Out());
    fs::create_directories(Out());
    const ProgramResult result = Convert({"-d", std::string("--gamma=") + c.gamma});
    const auto shown = std::find(result.lines.begin(), result.lines.end(), c.shown);
    ASSERT_NE(shown, result.lines.end()) << c.gamma;
    ASSERT_NE(shown + 1, result.lines.end()) << c.gamma;
    EXPECT_EQ(*(shown + 1), c.valid ? "Invert: 0" : "Error: Invalid gamma value") << c.gamma;
    EXPECT_EQ(result.exitCode, c.valid ? 0 : 2) << c.gamma;
    EXPECT_EQ(OutputNames().size(), c.valid ? 1u : 0u) << c.gamma;
  }
}

TEST_F(BatchRunProgramTest, RefusedRunsEndWithTheirErrorLineAndTouchNothing) {
  Photo("a.dng");
  const struct {
    std::vector<std::string> arguments;
    const char* error;
  } cases[] = {
      {{"-c", "JPG"}, "Error: Invalid conversion type"},
      {{"-c", "jpg", "--jpg-quality=101"}, "Error: Invalid jpg-quality value"},
      {{"-c", "png", "--png-bpp=16"}, "Error: Invalid png-bpp value"},
      {{"--width=0"}, "Error: Invalid width value"},
      {{"--brightness=101"}, "Error: Invalid brightness value"},
      {{"--wm-text=hello", "--wm-font=No Such Face Anywhere"}, "Error: Invalid watermark font"},
      {{"--wm-image=/nonexistent/logo.png"}, "Error: Invalid watermark image"},
      {{"--wm-image=" + dir_.WriteFile("logo.bmp", "BM that no decoder reads")}, "Error: Invalid watermark image"},
  };
  for (const auto& c : cases) {
    const ProgramResult result = Convert(c.arguments);
    EXPECT_EQ(result.lines, (Lines{kBanner[0], kBanner[1], kBanner[2], kBanner[3], "Preparing...", c.error}));
    EXPECT_EQ(result.exitCode, 2) << c.error;
    std::vector<std::string> quietArguments = c.arguments;
    quietArguments.push_back("-q");
    EXPECT_EQ(Convert(quietArguments).lines, Lines{c.error});
  }
  EXPECT_TRUE(OutputNames().empty());
}

TEST_F(BatchRunProgramTest, AnEmptyFolderStopsAfterFiveLines) {
  const ProgramResult result = Convert({});
  Lines expected = kBanner;
  const Lines run = {"Preparing...", "Importing...", "Import complete, new files added: 0", "Conversion stopped",
                     "No input file(s) found. Please, add valid file(s) and try again!"};
  expected.insert(expected.end(), run.begin(), run.end());
  EXPECT_EQ(result.lines, expected);
  EXPECT_EQ(result.exitCode, 1);
}

TEST_F(BatchRunProgramTest, OneGoodAndOneFailingFileInADebugRun) {
  const std::string good = Photo("good.dng");
  const std::string bad = dir_.WriteFile("in/bad.dng", "no picture in here");
  const ProgramResult result = Convert({"-d", "-c", "png"});
  const auto converting = std::find(result.lines.begin(), result.lines.end(), "Converting...");
  ASSERT_NE(converting, result.lines.end());
  const Lines log(converting + 1, result.lines.end());
  ASSERT_FALSE(log.empty());
  const Lines goodLines = {"Processing: " + good, "File Format: TIFF (LE)", "[OK] Saving As: " + Out() + "/good.png"};
  const Lines badLines = {"Processing: " + bad, "File Format: [ERROR] UNRECOGNIZED",
                          "[ERROR] Unable to convert the file!"};
  Lines expected = log.front() == goodLines.front() ? goodLines : badLines;
  const Lines& second = log.front() == goodLines.front() ? badLines : goodLines;
  expected.insert(expected.end(), second.begin(), second.end());
  expected.push_back("Conversion complete");
  expected.push_back("Files converted: 1 of 2");
  EXPECT_EQ(log, expected);
  EXPECT_EQ(result.exitCode, 1);

  const ProgramResult quiet = Convert({"-q", "-c", "png"});
  EXPECT_EQ(quiet.lines, Lines{});  // without debug mode no file is logged, not even the failed one
  EXPECT_EQ(quiet.exitCode, 1);
}

TEST_F(BatchRunProgramTest, TheLastInputOptionWins) {
  const std::string a = Photo("a.dng");
  const std::string b = Photo("b.dng");
  const ProgramResult result = RunProgramWith({"-i", a, "-i", b, "-o", Out(), "-q"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(OutputNames(), Lines{"b.bmp"});
}

TEST_F(BatchRunProgramTest, OriginalTimestampCopiesTheInputsTimeToTheSecond) {
  const std::string photo = Photo("a.dng");
  timespec times[2]{};
  times[0].tv_nsec = UTIME_OMIT;
  times[1].tv_sec = 1234567890;
  times[1].tv_nsec = 987654321;
  ASSERT_EQ(::utimensat(AT_FDCWD, photo.c_str(), times, 0), 0);
  ASSERT_EQ(Convert({"--file-timestamp=ORIGINAL", "-q"}).exitCode, 0);
  struct stat status {};
  ASSERT_EQ(::stat((Out() + "/a.bmp").c_str(), &status), 0);
  EXPECT_EQ(status.st_mtim.tv_sec, 1234567890);
  EXPECT_EQ(status.st_mtim.tv_nsec, 0);
}

TEST_F(BatchRunProgramTest, IconOutputIsLimitedTo128By128) {
  Photo("wide.dng", 320, 160);
  ASSERT_EQ(Convert({"-c", "ico", "-q"}).exitCode, 0);
  const ReadBack icon = ReadImage(Out() + "/wide.ico");
  ASSERT_TRUE(icon.loaded);
  EXPECT_EQ(icon.width, 128u);
  EXPECT_EQ(icon.height, 128u);
}

TEST_F(BatchRunProgramTest, LinearLoadingWithoutToneMappingWritesFortyEightBitTiff) {
  Photo("a.dng");
  ASSERT_EQ(Convert({"--raw-load-as=48", "--raw-tone-mapping=none", "-c", "tiff", "-q"}).exitCode, 0);
  const ReadBack tiff = ReadImage(Out() + "/a.tiff");
  ASSERT_TRUE(tiff.loaded);
  EXPECT_EQ(tiff.bitsPerPixel, 48u);
  EXPECT_EQ(tiff.width, 64u);
  EXPECT_FALSE(tiff.allBlack);
}

TEST_F(BatchRunProgramTest, AnOutputThatWouldReplaceAnInputFailsAndTheInputStays) {
  const std::string photo = Photo("a.dng");
  const std::string before = ReadFileBytes(photo);
  const ProgramResult result =
      RunProgramWith({"-i", In(), "-o", In(), "-c", "jpg", "--filename-mask=%filename%.dng", "-d"});
  EXPECT_EQ(LineFromEnd(result.lines), "Conversion stopped");
  EXPECT_EQ(LineFromEnd(result.lines, 2), "[ERROR] Unable to convert the file!");
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(ReadFileBytes(photo), before);
  EXPECT_EQ(std::distance(fs::directory_iterator(In()), {}), 1);
}

// Preview sizes as FreeImage reports them for the sample files (RAW_PREVIEW; the full image where a camera
// stores no preview).
const std::map<std::string, std::pair<unsigned, unsigned>> kSamplePreviewSizes = {
    {"Canon_EOS-D30_RAW_CANON_D30_SRGB", {1440, 960}},
    {"Canon_PowerShot-G2_CRW_0304", {640, 480}},
    {"Canon_PowerShot-S40_CRW_0101", {640, 480}},
    {"Canon_PowerShot-S40_CRW_0119", {640, 480}},
    {"Canon_EOS-Kiss-X4-MagicLantern_colorchart", {1734, 1156}},
    {"Blackmagic_PocketCinema4K_Blackmagic", {4128, 2176}},
    {"Kodak_C330_RAW_KODAK_C330_FORMAT_NONE_YRGB", {1216, 912}},
    {"Kodak_DC50_RAW_KODAK_DC50", {96, 64}},
    {"Kodak_DC50_DC0008L", {96, 64}},
    {"Kodak_DC50_DC0010S", {96, 64}},
    {"Kodak_DC120_P003908", {80, 60}},
    {"Kodak_DC120_P003912", {80, 60}},
    {"Apple_QuickTake100_TEST100", {640, 480}},
    {"Apple_QuickTake100_IMAGE01", {320, 240}},
    {"Apple_QuickTake150_TEST150", {640, 480}},
};

TEST_F(BatchRunProgramTest, CameraSamplesConvertWithTheDefaultsAtTheirPreviewSize) {
  const std::string samples = SamplesDir();
  if (samples.empty()) GTEST_SKIP() << "no sample folder beside the project";
  const ProgramResult result = RunProgramWith({"-i", samples + "/camera", "-o", Out(), "-c", "jpg"});
  EXPECT_EQ(result.errorOutput, "");
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(LineFromEnd(result.lines), "Files converted: 15 of 15");
  for (const auto& [name, size] : kSamplePreviewSizes) {
    const ReadBack image = ReadImage(Out() + "/" + name + ".jpg");
    ASSERT_TRUE(image.loaded) << name;
    EXPECT_EQ(image.width, size.first) << name;
    EXPECT_EQ(image.height, size.second) << name;
    EXPECT_EQ(image.bitsPerPixel, 24u) << name;
    EXPECT_FALSE(image.allBlack) << name;
  }
  EXPECT_EQ(OutputNames().size(), kSamplePreviewSizes.size());
}

TEST_F(BatchRunProgramTest, OddSamplesConvertWhatADecoderReadsAndFailTheRestCleanly) {
  const std::string samples = SamplesDir();
  if (samples.empty()) GTEST_SKIP() << "no sample folder beside the project";
  const std::string odd = samples + "/odd/";
  const ProgramResult result = RunProgramWith({"-i", odd, "-o", Out(), "-c", "jpg", "-d"});
  EXPECT_EQ(result.errorOutput, "");
  EXPECT_EQ(result.exitCode, 1);
  const auto has = [&](const std::string& line) {
    return std::find(result.lines.begin(), result.lines.end(), line) != result.lines.end();
  };
  EXPECT_TRUE(has("Import complete, new files added: 4"));  // the CR3 file is not collected
  EXPECT_FALSE(has("Processing: " + odd + "unsupported-extension.CR3"));
  EXPECT_EQ(LineFromEnd(result.lines), "Files converted: 1 of 4");
  // The stripped DNG declares RAW data past its end and has no preview: it fails as damaged.
  const std::string processing = "Processing: " + odd + "pixels-stripped.dng";
  const auto stripped = std::find(result.lines.begin(), result.lines.end(), processing);
  ASSERT_GE(result.lines.end() - stripped, 3);
  EXPECT_EQ(*(stripped + 2), "[ERROR] Unable to convert the file!");
  EXPECT_EQ(OutputNames(), Lines{"jpeg-data-named.jpg"});
  const ReadBack jpeg = ReadImage(Out() + "/jpeg-data-named.jpg");
  EXPECT_TRUE(jpeg.loaded);
  EXPECT_FALSE(jpeg.allBlack);
}

// The camera samples and copies of them cut short, converted with every decode that reads the RAW data: a cut copy
// fails as damaged or gives exactly the whole file's pixels, and FIT writes the 24 decode's output, from the
// half-size decode only where that still covers the target. jq reads the report, ImageMagick the pixels.
struct Outcome {
  std::string reason, detail;  // reason "ok" when converted
  int width = 0, height = 0;   // of the written file
  std::string pixels;          // ImageMagick's hash of its pixel values
};

// Converts the folder `in` to bmp with --raw-load-as=mode and the extra arguments; the outcome by input name.
std::map<std::string, Outcome> Convert(const TempDir& dir, const std::string& mode, std::vector<std::string> extra) {
  const std::string out = dir / ("out-" + mode), report = dir / ("report-" + mode + ".jsonl");
  fs::create_directories(out);
  extra.insert(extra.end(),
               {"-q", "-i", dir / "in", "-o", out, "-c", "bmp", "--raw-load-as=" + mode, "--report=" + report});
  EXPECT_LE(RunProgramWith(extra).exitCode, 1) << "--raw-load-as=" << mode;  // 3: another copy was running
  const char* line = R"(select(.index) | "\(.input | split("/")[-1]) \(.reason // "ok") \(.output) \(.detail)\n")";
  std::istringstream lines(RunJq(line, report).value_or(""));
  std::map<std::string, Outcome> outcomes;
  std::map<std::string, std::string> inputOf;  // by output path
  std::vector<std::string> identify = {"identify", "-format", "%i %w %h %#\n"};
  for (std::string name, reason, output, detail;
       lines >> name >> reason >> output >> std::ws && std::getline(lines, detail);) {
    outcomes[name] = {reason, detail};
    inputOf[output] = name;
    if (output != "null") identify.push_back(output);
  }
  std::istringstream read(RunCommand(identify).output);
  for (std::string output; read >> output;) {
    Outcome& outcome = outcomes[inputOf[output]];
    read >> outcome.width >> outcome.height >> outcome.pixels;
  }
  return outcomes;
}

TEST(RawDecodes, CutCopiesFailAsDamagedOrGiveTheWholeFilesPixelsAndFitGivesThe24Output) {
  const std::string samples = SamplesDir();
  if (samples.empty()) GTEST_SKIP() << "no sample folder beside the project";
  if (!HaveJq() || RunCommand({"identify", "-version"}).exitCode != 0) GTEST_SKIP() << "needs jq and ImageMagick";
  TempDir dir;
  std::vector<std::string> wholeFiles;
  for (const auto& entry : fs::directory_iterator(samples + "/camera")) {
    const std::string name = entry.path().filename(), bytes = ReadFileBytes(entry.path());
    wholeFiles.push_back(name);
    dir.WriteFile("in/" + name, bytes);
    for (const std::size_t keep : {bytes.size() * 3 / 10, bytes.size() * 7 / 10, bytes.size() - 1}) {
      dir.WriteFile("in/" + std::to_string(keep) + "-" + name, bytes.substr(0, keep));
    }
  }
  fs::copy_file(samples + "/odd/pixels-stripped.dng", dir / "in/pixels-stripped.dng");

  const std::vector<std::string> web = {"--width=800", "--height=800", "--keep-aspect-ratio"};
  std::map<std::string, std::map<std::string, Outcome>> runs = {{"24", Convert(dir, "24", web)},
                                                                {"FIT", Convert(dir, "FIT", web)},
                                                                {"AUTO", Convert(dir, "AUTO", web)},
                                                                {"24HS", Convert(dir, "24HS", {})}};
  for (const auto& [mode, outcomes] : runs) {
    SCOPED_TRACE("--raw-load-as=" + mode);
    EXPECT_EQ(outcomes.at("pixels-stripped.dng").reason, "damaged");
    for (const auto& [cut, outcome] : outcomes) {
      const std::string name = cut.substr(cut.find('-') + 1);
      if (cut == name || !outcomes.contains(name)) continue;  // a whole file, or pixels-stripped.dng
      ASSERT_EQ(outcomes.at(name).reason, "ok") << name;
      // QuickTake and C330 files declare no extent: their decoder meets the end of the file itself. AUTO decodes
      // the full picture at 24 bits where the preview is the part cut short.
      const bool declaresExtent = !name.ends_with(".QTK") && !name.ends_with(".raw");
      const bool same = outcome.pixels == outcomes.at(name).pixels ||
                        (mode == "AUTO" && outcome.pixels == runs["24"].at(name).pixels);
      EXPECT_TRUE(outcome.reason == "ok" ? same : outcome.reason == "damaged" || !declaresExtent)
          << cut << ": " << outcome.reason;
    }
  }
  int halfSize = 0;
  for (const std::string& name : wholeFiles) {
    const Outcome &fit = runs["FIT"].at(name), &full = runs["24"].at(name), &half = runs["24HS"].at(name);
    EXPECT_TRUE(fit.width == full.width && fit.height == full.height) << name;
    if (fit.detail == "half-size RAW decode") {
      EXPECT_TRUE(half.width >= fit.width && half.height >= fit.height) << name << " has a smaller half-size decode";
      ++halfSize;
    } else {
      EXPECT_EQ(fit.detail, "full-size RAW decode") << name;
      EXPECT_EQ(fit.pixels, full.pixels) << name;
    }
  }
  EXPECT_GT(halfSize, 0);
  EXPECT_LT(halfSize, static_cast<int>(wholeFiles.size()));
}

}  // namespace
}  // namespace lumivane::testing
