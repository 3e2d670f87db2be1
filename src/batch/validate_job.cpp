#include "batch/validate_job.h"

#include <sys/stat.h>

#include "formats/registry.h"
#include "platform/paths.h"

namespace lumivane {

namespace {

// A folder given as "..something" would reach above the folder that relative folders resolve against.
bool BeginsWithTwoDots(std::string_view path) { return path.starts_with(".."); }

}  // namespace

bool IsNonEmptyRegularFile(const std::string& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0;
}

bool IsExistingFolder(const std::string& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

std::optional<Message> ClassifyInput(JobRecord& job) {
  if (HasExtension(job.inputFolder)) {
    job.inputFile = std::move(job.inputFolder);
    job.inputFolder.clear();
    if (!IsNonEmptyRegularFile(job.inputFile)) return Message::kInvalidInputFile;
    return std::nullopt;
  }
  if (BeginsWithTwoDots(job.inputFolder)) return Message::kIncorrectInputFolder;
  job.inputFolder = NormaliseFolder(job.inputFolder, job.currentFolder);
  if (!IsExistingFolder(job.inputFolder)) return Message::kInvalidInputFolder;
  return std::nullopt;
}

void DeriveOutputFolder(JobRecord& job) {
  if (!job.outputFolder.empty()) return;
  job.outputFolder = FolderPart(job.inputFolder.empty() ? job.inputFile : job.inputFolder);
}

std::optional<Message> CheckOutputFolder(JobRecord& job) {
  if (BeginsWithTwoDots(job.outputFolder)) return Message::kIncorrectOutputFolder;
  job.outputFolder = NormaliseFolder(job.outputFolder, job.currentFolder);
  if (!IsExistingFolder(job.outputFolder)) return Message::kInvalidOutputFolder;
  return std::nullopt;
}

void DefaultFormats(JobRecord& job) {
  if (job.inputFormat.empty()) job.inputFormat = InputFormatList().front();
  if (job.outputFormat.empty()) job.outputFormat = OutputFormatList().front();
}

std::optional<Message> CheckConversionType(const JobRecord& job) {
  if (!IsOutputFormat(job.outputFormat)) return Message::kInvalidConversionType;
  return std::nullopt;
}

}  // namespace lumivane
