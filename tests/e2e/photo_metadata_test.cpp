// The photo's metadata in the written files, as exiftool reads them: the camera samples and a DNG of ours given
// location, orientation 6, rights, a rating and a keyword (with exiftool), converted to jpg, png, tiff and webp.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>

#include "dng/dng_writer.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace lumivane::testing {
namespace {

// "Group:Tag" -> values, every copy kept (-a), per file read.
using Tags = std::multimap<std::string, std::string>;

std::map<std::string, Tags> ReadTags(const std::vector<std::string>& paths) {
  std::vector<std::string> command = {"exiftool", "-a", "-G1", "-s", "-n"};
  command.insert(command.end(), paths.begin(), paths.end());
  std::map<std::string, Tags> files;
  std::string current = paths.size() == 1 ? paths.front() : "";
  std::istringstream lines(RunCommand(command).output);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("======== ", 0) == 0) current = line.substr(9);
    const std::size_t close = line.find("] "), colon = line.find(" : ");
    if (line.empty() || line[0] != '[' || close == std::string::npos || colon == std::string::npos) continue;
    std::string tag = line.substr(close + 2, colon - close - 2);
    tag.erase(tag.find_last_not_of(' ') + 1);
    tag.erase(0, tag.find_first_not_of(' '));
    files[current].emplace(line.substr(1, close - 1) + ":" + tag, line.substr(colon + 3));
  }
  return files;
}

Tags TagsOf(const std::string& path) {
  const std::map<std::string, Tags> files = ReadTags({path});
  EXPECT_EQ(files.size(), 1u) << path;
  return files.empty() ? Tags{} : files.begin()->second;
}

// Every value of the tag in any group.
std::vector<std::string> ValuesOf(const Tags& tags, const std::string& tag) {
  std::vector<std::string> values;
  for (const auto& [key, value] : tags) {
    if (key.substr(key.find(':') + 1) == tag) values.push_back(value);
  }
  return values;
}

bool HasGroup(const Tags& tags, const std::string& prefix) {
  for (const auto& entry : tags)
    if (entry.first.rfind(prefix, 0) == 0) return true;
  return false;
}

const std::vector<std::string> kFormats = {"jpg", "png", "tiff", "webp"};

// Our DNG: a 64 x 48 sensor with a 32 x 24 preview (what the default decoding takes), turned by orientation 6, with location, rights, rating 2 and a keyword in the file.
std::string MakeTaggedDng(const TempDir& dir) {
  const std::string path = dir / "in/tagged.dng";
  std::filesystem::create_directories(dir.path() / "in");
  EXPECT_TRUE(WriteDngFile(path, DngContent{64, 48, 1, 32, 24, ""}));
  const ProgramResult tagged = RunCommand(
      {"exiftool", "-q", "-overwrite_original", "-n", "-IFD0:Orientation=6", "-IFD0:Artist=Ada Tester",
       "-IFD0:Copyright=CC BY 4.0", "-ExifIFD:DateTimeOriginal=2024:05:06 07:08:09", "-GPSLatitude=48.5",
       "-GPSLatitudeRef=N", "-GPSLongitude=9.25", "-GPSLongitudeRef=E", "-XMP-xmp:Rating=2",
       "-XMP-dc:Subject=harbour", path});
  EXPECT_EQ(tagged.exitCode, 0) << tagged.errorOutput;
  return path;
}

TEST(PhotoMetadata, OutputsCarryTheInputsDescriptiveTagsOnceWithTheirOwnFacts) {
  if (RunCommand({"exiftool", "-ver"}).exitCode != 0) GTEST_SKIP() << "exiftool is not installed";
  TempDir dir;
  std::vector<std::string> inputs = {MakeTaggedDng(dir)};
  if (const std::string samples = SamplesDir(); !samples.empty()) {
    for (const auto& entry : std::filesystem::directory_iterator(samples + "/camera")) inputs.push_back(entry.path());
  }
  const std::map<std::string, Tags> sources = ReadTags(inputs);
  for (const std::string& format : kFormats) {
    const std::string out = dir / format;
    std::filesystem::create_directories(out);
    for (const std::string& input : inputs) {
      const ProgramResult run = RunProgramWith({"-q", "-i", input, "-o", out, "-c", format});
      ASSERT_EQ(run.exitCode, 0) << input;
    }
    for (const std::string& input : inputs) {
      const std::string stem = std::filesystem::path(input).stem().string();
      const std::string written = out + "/" + stem + "." + format;
      if (!std::filesystem::exists(written)) continue;  // an input no decoder reads
      const Tags tags = TagsOf(written);
      const Tags& source = sources.at(input);
      for (const char* tag : {"Make", "Model", "DateTimeOriginal", "Artist", "Copyright", "Rating"}) {
        const std::vector<std::string> had = ValuesOf(source, tag);
        const std::vector<std::string> has = ValuesOf(tags, tag);
        if (had.empty() || had.front().empty()) continue;
        ASSERT_EQ(has.size(), 1u) << written << " " << tag;
        EXPECT_NE(std::find(had.begin(), had.end(), has.front()), had.end()) << written << " " << tag;
      }
      for (const char* group : {"IFD1:", "MakerNotes:", "Canon:", "Nikon:", "Apple:", "SubIFD"}) {
        EXPECT_FALSE(HasGroup(tags, group)) << written << " holds " << group;
      }
      EXPECT_TRUE(ValuesOf(tags, "ThumbnailImage").empty() && ValuesOf(tags, "PreviewImage").empty()) << written;
      EXPECT_TRUE(ValuesOf(tags, "DNGVersion").empty()) << written;
      const std::vector<std::string> sizes = ValuesOf(tags, "ExifImageWidth");
      for (const std::string& width : sizes) EXPECT_EQ(width, ValuesOf(tags, "ImageWidth").at(0)) << written;
      EXPECT_LE(ValuesOf(tags, "Orientation").size(), 1u) << written;
    }
    // Our DNG's pixels are turned upright by the decoder: the file says so and has the turned size.
    const Tags ours = TagsOf(out + "/tagged." + format);
    EXPECT_EQ(ValuesOf(ours, "Orientation"), std::vector<std::string>{"1"}) << format;
    const std::vector<std::string> width = ValuesOf(ours, "ImageWidth"), height = ValuesOf(ours, "ImageHeight");
    ASSERT_FALSE(width.empty() || height.empty()) << format;
    EXPECT_LT(std::stoi(width.front()), std::stoi(height.front())) << format;
    EXPECT_EQ(ours.count("GPS:GPSLatitude"), 1u) << format;
    EXPECT_EQ(ValuesOf(ours, "Subject"), std::vector<std::string>{"harbour"}) << format;
  }
}

TEST(PhotoMetadata, TheSidecarWinsAndTheChoiceDropsTheLocationOrEverything) {
  if (RunCommand({"exiftool", "-ver"}).exitCode != 0) GTEST_SKIP() << "exiftool is not installed";
  TempDir dir;
  const std::string input = MakeTaggedDng(dir);
  dir.WriteFile("in/tagged.xmp",
                "<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'>"
                "<rdf:Description xmlns:xmp='http://ns.adobe.com/xap/1.0/' xmp:Rating='5'/></rdf:RDF></x:xmpmeta>");
  for (const std::string& format : kFormats) {
    const std::string keep = dir / ("keep-" + format), noGps = dir / ("nogps-" + format),
                      none = dir / ("none-" + format);
    for (const std::string& folder : {keep, noGps, none}) std::filesystem::create_directories(folder);
    ASSERT_EQ(RunProgramWith({"-q", "-i", input, "-o", keep, "-c", format}).exitCode, 0);
    ASSERT_EQ(RunProgramWith({"-q", "-i", input, "-o", noGps, "-c", format, "--metadata=nogps"}).exitCode, 0);
    ASSERT_EQ(RunProgramWith({"-q", "-i", input, "-o", none, "-c", format, "--metadata=NONE"}).exitCode, 0);
    const std::string name = "/tagged." + format;
    const Tags kept = TagsOf(keep + name);
    EXPECT_EQ(ValuesOf(kept, "Rating"), std::vector<std::string>{"5"}) << format;
    const Tags withoutLocation = TagsOf(noGps + name);
    EXPECT_FALSE(HasGroup(withoutLocation, "GPS:")) << format;
    EXPECT_TRUE(ValuesOf(withoutLocation, "GPSLatitude").empty()) << format;
    EXPECT_EQ(ValuesOf(withoutLocation, "Artist"), std::vector<std::string>{"Ada Tester"}) << format;
    const Tags nothing = TagsOf(none + name);
    for (const char* group : {"ExifIFD:", "GPS:", "IPTC:", "XMP-"}) {
      EXPECT_FALSE(HasGroup(nothing, group)) << format << " holds " << group;
    }
    EXPECT_TRUE(ValuesOf(nothing, "Make").empty() && ValuesOf(nothing, "Artist").empty()) << format;
  }
  std::filesystem::create_directories(dir.path() / "typo");
  const ProgramResult typo = RunProgramWith({"-i", input, "-o", dir / "typo", "-c", "jpg", "--metadata=nogsp"});
  EXPECT_NE(typo.exitCode, 0);
  EXPECT_NE(typo.output.find("Error: Invalid metadata value"), std::string::npos) << typo.output;
  EXPECT_FALSE(std::filesystem::exists(dir / "typo/tagged.jpg"));
}

}  // namespace
}  // namespace lumivane::testing
