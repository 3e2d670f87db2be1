#include "batch/collect_inputs.h"

#include <sys/stat.h>

#include <cerrno>
#include <optional>

#include "batch/worker_thread.h"
#include "formats/registry.h"
#include "platform/ascii_text.h"
#include "platform/paths.h"

namespace lumivane {

namespace {

bool IsListExtension(std::string_view extension) {
  return EqualsIgnoringAsciiCase(extension, "txt") || EqualsIgnoringAsciiCase(extension, "lst");
}

}  // namespace

std::int32_t CollectInputs(const JobRecord& job, ProgressRecord& progress, CollectedFileList& list) {
  if (!job.inputFolder.empty()) {
    RunOnWorkerThread([&] { CollectFolder(job.inputFolder, progress, list); });
  } else if (IsListFile(job.inputFile)) {
    RunOnWorkerThread([&] { CollectListFile(job.inputFile, progress, list); });
  } else {
    progress.SetCount(AddInputFile(job.inputFile, "", list));
  }
  return progress.Snapshot().count;
}

std::int32_t AddInputFile(const std::string& path, const std::string& inputFolder, CollectedFileList& list) {
  const std::optional<std::string_view> extension = ExtensionOf(path);
  if (!extension || !IsAcceptedExtension(*extension)) return 0;
  if (list.Contains(path)) return 0;  // a duplicate; it was checked when it was added
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) {
    // A path too long to be opened: collected all the same, so that the file fails with its reason.
    return errno == ENAMETOOLONG && list.Add(path, RelativeSubfolder(path, inputFolder)) ? 1 : 0;
  }
  // Only regular files with content: a device or a pipe named like a photo would stall the decoder.
  if (!S_ISREG(status.st_mode) || status.st_size == 0) return 0;
  return list.Add(path, RelativeSubfolder(path, inputFolder)) ? 1 : 0;
}

std::string RelativeSubfolder(std::string_view path, std::string_view base) {
  if (path.empty() || base.empty()) return {};
  const std::string_view folder = FolderPart(path);
  // Only the leading base is removed: a subfolder that happens to repeat the base's text keeps its name.
  if (!folder.starts_with(base)) return {};
  return std::string(folder.substr(base.size()));
}

bool IsListFile(std::string_view path) {
  const std::optional<std::string_view> extension = ExtensionOf(path);
  return extension && IsListExtension(*extension);
}

}  // namespace lumivane
