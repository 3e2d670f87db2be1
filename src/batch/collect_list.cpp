// The list worker: one path per line of a list file.
#include <sys/stat.h>

#include <string_view>

#include "batch/collect_inputs.h"
#include "batch/list_file_reader.h"
#include "platform/paths.h"

namespace lumivane {

namespace {

// Only the space character is trimmed: a tab belongs to the name.
std::string_view TrimSpaces(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::int32_t CollectListFile(const std::string& listPath, ProgressRecord& progress, CollectedFileList& list) {
  ListFileReader reader(listPath);
  std::int32_t added = 0;
  std::int32_t position = 0;
  std::string line;
  while (reader.IsOpen() && progress.IsRunning() && reader.NextLine(line)) {
    const std::string path(TrimSpaces(line));
    // A NUL cannot be part of a file name; such a line names nothing.
    if (path.empty() || path.find('\0') != std::string::npos) continue;
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) continue;
    progress.SetPosition(++position);
    if (S_ISDIR(status.st_mode)) {
      added += ScanFolder(WithTrailingSlash(path), "", list);
    } else {
      added += AddInputFile(path, "", list);
    }
  }
  progress.AddToCount(added);
  return added;
}

}  // namespace lumivane
