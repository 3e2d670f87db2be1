#include "batch/validate_job.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "batch/batch_test_helpers.h"
#include "formats/registry.h"
#include "support/temp_dir.h"

namespace lumivane::testing {
namespace {

namespace fs = std::filesystem;

// A program folder with a photos folder, a folder whose name has a dot, a photo and an empty photo.
class ValidateJobTest : public ::testing::Test {
 protected:
  void SetUp() override {
    BuildRegistry();
    program_ = (dir_.path() / "program").string() + "/";
    fs::create_directories(program_ + "photos");
    fs::create_directories(program_ + "sub");
    fs::create_directories(program_ + "holiday.2024");
    photo_ = dir_.WriteFile("program/photos/a.dng", "raw bytes");
    dir_.WriteFile("program/photos/empty.dng", "");
    job_.programFolder = program_;
  }

  std::optional<Message> Classify(const std::string& input) {
    job_.inputFolder = input;
    job_.inputFile.clear();
    return ClassifyInput(job_);
  }

  TempDir dir_;
  std::string program_;
  std::string photo_;
  JobRecord job_;
};

TEST_F(ValidateJobTest, AValueWithAnExtensionNamesAFileOfAtLeastOneByte) {
  const struct {
    std::string input;
    std::optional<Message> error;
  } cases[] = {
      {photo_, std::nullopt},
      {program_ + "photos/empty.dng", Message::kInvalidInputFile},
      {program_ + "photos/missing.dng", Message::kInvalidInputFile},
      {program_ + "holiday.2024", Message::kInvalidInputFile},  // a folder with a dot needs its trailing slash
      {program_ + "photos/.hidden", Message::kInvalidInputFolder},  // no extension: taken as a folder
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Classify(c.input), c.error) << c.input;
    if (c.input.ends_with(".dng")) {
      EXPECT_EQ(job_.inputFile, c.input);
      EXPECT_EQ(job_.inputFolder, "");
    }
  }
}

TEST_F(ValidateJobTest, FoldersResolveUnderTheProgramFolder) {
  const struct {
    std::string input;
    std::optional<Message> error;
    std::string folder;  // the input folder afterwards, when accepted
  } cases[] = {
      {"photos", std::nullopt, program_ + "photos/"},
      {"./photos", std::nullopt, program_ + "photos/"},
      {"photos/", std::nullopt, program_ + "photos/"},
      {".", std::nullopt, program_ + "./"},  // the program folder, not the current one
      {"", std::nullopt, program_},
      {"sub/../photos", std::nullopt, program_ + "sub/../photos/"},  // two dots inside pass
      {"holiday.2024/", std::nullopt, program_ + "holiday.2024/"},
      {program_ + "photos", std::nullopt, program_ + "photos/"},
      {"../program/photos", Message::kIncorrectInputFolder, ""},
      {"..photos/", Message::kIncorrectInputFolder, ""},
      {"..", Message::kInvalidInputFile, ""},  // the extension test comes first: "." after "." starts an extension
      {"..photos", Message::kInvalidInputFile, ""},
      {"nothing-here", Message::kInvalidInputFolder, ""},
      {"photos/a.dng/", Message::kInvalidInputFolder, ""},  // a file is no folder
  };
  CurrentFolderScope elsewhere(dir_.path());  // relative folders never resolve against the current folder
  for (const auto& c : cases) {
    EXPECT_EQ(Classify(c.input), c.error) << c.input;
    if (!c.error) {
      EXPECT_EQ(job_.inputFolder, c.folder) << c.input;
      EXPECT_EQ(job_.inputFile, "") << c.input;
    }
  }
}

TEST_F(ValidateJobTest, ARelativeInputFileIsReadFromTheCurrentFolder) {
  dir_.WriteFile("cwd/rel/b.dng", "raw bytes");
  CurrentFolderScope inside(dir_.path() / "cwd");
  EXPECT_EQ(Classify("rel/b.dng"), std::nullopt);
  EXPECT_EQ(job_.inputFile, "rel/b.dng");
  EXPECT_EQ(Classify("b.dng"), Message::kInvalidInputFile);  // not under the program folder either
}

TEST_F(ValidateJobTest, WithoutAnOutputFolderTheInputsFolderPartIsTaken) {
  const struct {
    std::string inputFile;
    std::string inputFolder;
    std::string derived;
    std::optional<Message> error;
    std::string resolved;
  } cases[] = {
      {photo_, "", program_ + "photos/", std::nullopt, program_ + "photos/"},
      {"a.dng", "", "", std::nullopt, program_},  // no folder part: the program folder
      {"photos/a.dng", "", "photos/", std::nullopt, program_ + "photos/"},
      // Resolved under the program folder, where it is not.
      {"rel/b.dng", "", "rel/", Message::kInvalidOutputFolder, ""},
      {"", program_ + "photos/", program_ + "photos/", std::nullopt, program_ + "photos/"},
  };
  for (const auto& c : cases) {
    job_.inputFile = c.inputFile;
    job_.inputFolder = c.inputFolder;
    job_.outputFolder.clear();
    DeriveOutputFolder(job_);
    EXPECT_EQ(job_.outputFolder, c.derived) << c.inputFile;
    EXPECT_EQ(CheckOutputFolder(job_), c.error) << c.inputFile;
    if (!c.error) EXPECT_EQ(job_.outputFolder, c.resolved) << c.inputFile;
  }
  job_.inputFile = photo_;
  job_.outputFolder = "/elsewhere/";
  DeriveOutputFolder(job_);
  EXPECT_EQ(job_.outputFolder, "/elsewhere/");  // a given output folder stays
}

TEST_F(ValidateJobTest, OutputFolderIsCheckedButNeverCreated) {
  const struct {
    std::string output;
    std::optional<Message> error;
  } cases[] = {
      {"..", Message::kIncorrectOutputFolder},
      {"../out", Message::kIncorrectOutputFolder},
      {"new-folder", Message::kInvalidOutputFolder},
      {program_ + "photos/a.dng", Message::kInvalidOutputFolder},
      {".", std::nullopt},
      {"photos", std::nullopt},
  };
  for (const auto& c : cases) {
    job_.outputFolder = c.output;
    EXPECT_EQ(CheckOutputFolder(job_), c.error) << c.output;
  }
  EXPECT_FALSE(fs::exists(program_ + "new-folder"));
}

TEST_F(ValidateJobTest, ConversionTypeIsALowerCaseIdentifierAndDefaultsToBmp) {
  DefaultFormats(job_);
  EXPECT_EQ(job_.inputFormat, "raw");
  EXPECT_EQ(job_.outputFormat, "bmp");
  EXPECT_EQ(CheckConversionType(job_), std::nullopt);
  for (const char* refused : {"JPG", "Jpg", " jpg", "jpeg", "raw", "tif"}) {
    job_.outputFormat = refused;
    DefaultFormats(job_);
    EXPECT_EQ(CheckConversionType(job_), Message::kInvalidConversionType) << refused;
  }
  for (const std::string& identifier : OutputFormatList()) {
    job_.outputFormat = identifier;
    EXPECT_EQ(CheckConversionType(job_), std::nullopt) << identifier;
  }
}

}  // namespace
}  // namespace lumivane::testing
