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

// A current folder with a photos folder, a folder whose name has a dot, a photo and an empty photo.
class ValidateJobTest : public ::testing::Test {
 protected:
  void SetUp() override {
    BuildRegistry();
    current_ = (dir_.path() / "current").string() + "/";
    fs::create_directories(current_ + "photos");
    fs::create_directories(current_ + "sub");
    fs::create_directories(current_ + "holiday.2024");
    photo_ = dir_.WriteFile("current/photos/a.dng", "raw bytes");
    dir_.WriteFile("current/photos/empty.dng", "");
    job_.currentFolder = current_;
  }

  std::optional<Message> Classify(const std::string& input) {
    job_.inputFolder = input;
    job_.inputFile.clear();
    return ClassifyInput(job_);
  }

  TempDir dir_;
  std::string current_;
  std::string photo_;
  JobRecord job_;
};

TEST_F(ValidateJobTest, AValueWithAnExtensionNamesAFileOfAtLeastOneByte) {
  const struct {
    std::string input;
    std::optional<Message> error;
  } cases[] = {
      {photo_, std::nullopt},
      {current_ + "photos/empty.dng", Message::kInvalidInputFile},
      {current_ + "photos/missing.dng", Message::kInvalidInputFile},
      {current_ + "holiday.2024", Message::kInvalidInputFile},  // a folder with a dot needs its trailing slash
      {current_ + "photos/.hidden", Message::kInvalidInputFolder},  // no extension: taken as a folder
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Classify(c.input), c.error) << c.input;
    if (c.input.ends_with(".dng")) {
      EXPECT_EQ(job_.inputFile, c.input);
      EXPECT_EQ(job_.inputFolder, "");
    }
  }
}

TEST_F(ValidateJobTest, FoldersResolveUnderTheCurrentFolder) {
  const struct {
    std::string input;
    std::optional<Message> error;
    std::string folder;  // the input folder afterwards, when accepted
  } cases[] = {
      {"photos", std::nullopt, current_ + "photos/"},
      {"./photos", std::nullopt, current_ + "photos/"},
      {"photos/", std::nullopt, current_ + "photos/"},
      {".", std::nullopt, current_},
      {"", std::nullopt, current_},
      {"sub/../photos", std::nullopt, current_ + "sub/../photos/"},  // two dots inside pass
      {"holiday.2024/", std::nullopt, current_ + "holiday.2024/"},
      {current_ + "photos", std::nullopt, current_ + "photos/"},
      {"../current/photos", Message::kIncorrectInputFolder, ""},
      {"..photos/", Message::kIncorrectInputFolder, ""},
      {"..", Message::kInvalidInputFile, ""},  // the extension test comes first: "." after "." starts an extension
      {"..photos", Message::kInvalidInputFile, ""},
      {"nothing-here", Message::kInvalidInputFolder, ""},
      {"photos/a.dng/", Message::kInvalidInputFolder, ""},  // a file is no folder
  };
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
  EXPECT_EQ(Classify("b.dng"), Message::kInvalidInputFile);
}

TEST_F(ValidateJobTest, WithoutAnOutputFolderTheInputsFolderPartIsTaken) {
  const struct {
    std::string inputFile;
    std::string inputFolder;
    std::string derived;
    std::optional<Message> error;
    std::string resolved;
  } cases[] = {
      {photo_, "", current_ + "photos/", std::nullopt, current_ + "photos/"},
      {"a.dng", "", "", std::nullopt, current_},  // no folder part: the current folder
      {"photos/a.dng", "", "photos/", std::nullopt, current_ + "photos/"},
      // Resolved under the job's current folder, where it is not.
      {"rel/b.dng", "", "rel/", Message::kInvalidOutputFolder, ""},
      {"", current_ + "photos/", current_ + "photos/", std::nullopt, current_ + "photos/"},
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
      {current_ + "photos/a.dng", Message::kInvalidOutputFolder},
      {".", std::nullopt},
      {"photos", std::nullopt},
  };
  for (const auto& c : cases) {
    job_.outputFolder = c.output;
    EXPECT_EQ(CheckOutputFolder(job_), c.error) << c.output;
  }
  EXPECT_FALSE(fs::exists(current_ + "new-folder"));
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
