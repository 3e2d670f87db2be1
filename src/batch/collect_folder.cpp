// The folder worker and the folder scan. The scan keeps its own stack instead of recursing, so no depth of
// nesting can exhaust the thread's stack, and it keeps no folder open while it descends.
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "batch/collect_inputs.h"
#include "platform/paths.h"

namespace lumivane {

namespace {

struct FolderIdentity {
  dev_t device{};
  ino_t inode{};
  bool operator==(const FolderIdentity&) const = default;
};

// The identity of the folder a path names, following symbolic links; empty when it names no folder.
std::optional<FolderIdentity> IdentityOfFolder(const std::string& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) return std::nullopt;
  return FolderIdentity{status.st_dev, status.st_ino};
}

// Every entry name of a folder except "." and "..", in the order the file system gives them.
std::optional<std::vector<std::string>> ListFolderNames(const std::string& folder) {
  const std::unique_ptr<DIR, int (*)(DIR*)> stream(::opendir(folder.c_str()), &::closedir);
  if (!stream) return std::nullopt;
  std::vector<std::string> names;
  while (const dirent* entry = ::readdir(stream.get())) {
    const std::string_view name = entry->d_name;
    if (name != "." && name != "..") names.emplace_back(name);
  }
  return names;
}

struct FolderInScan {
  std::string folder;  // ends in "/"
  std::vector<std::string> names;
  std::size_t next{};
};

// Scans folder; scanPath holds the folders that enclose it in the current scan (they are not entered again).
std::int32_t ScanFolderBelow(const std::string& folder, std::vector<FolderIdentity> scanPath,
                             const std::string& inputFolder, CollectedFileList& list) {
  std::int32_t added = 0;
  std::vector<FolderInScan> stack;
  const auto enter = [&](const std::string& path, const FolderIdentity& identity) {
    if (std::find(scanPath.begin(), scanPath.end(), identity) != scanPath.end()) return;  // a link loop
    std::optional<std::vector<std::string>> names = ListFolderNames(path);
    if (!names) return;
    scanPath.push_back(identity);
    stack.push_back(FolderInScan{path, std::move(*names)});
  };
  if (const std::optional<FolderIdentity> identity = IdentityOfFolder(folder)) enter(folder, *identity);
  while (!stack.empty()) {
    FolderInScan& current = stack.back();
    if (current.next == current.names.size()) {
      stack.pop_back();
      scanPath.pop_back();
      continue;
    }
    const std::string path = current.folder + current.names[current.next++];
    if (const std::optional<FolderIdentity> identity = IdentityOfFolder(path)) {
      enter(path + "/", *identity);  // depth first: the subfolder is finished before the next entry
    } else {
      added += AddInputFile(path, inputFolder, list);
    }
  }
  return added;
}

}  // namespace

std::int32_t ScanFolder(const std::string& folder, const std::string& inputFolder, CollectedFileList& list) {
  return ScanFolderBelow(WithTrailingSlash(folder), {}, inputFolder, list);
}

std::int32_t CollectFolder(const std::string& inputFolder, ProgressRecord& progress, CollectedFileList& list) {
  const std::string base = WithTrailingSlash(inputFolder);
  const std::optional<FolderIdentity> baseIdentity = IdentityOfFolder(base);
  const std::optional<std::vector<std::string>> names = ListFolderNames(base);
  std::int32_t added = 0;
  std::int32_t position = 0;
  if (baseIdentity && names) {
    for (const std::string& name : *names) {
      if (!progress.IsRunning()) break;
      progress.SetPosition(++position);
      const std::string path = base + name;
      if (const std::optional<FolderIdentity> identity = IdentityOfFolder(path)) {
        added += ScanFolderBelow(path + "/", {*baseIdentity}, base, list);
      } else {
        added += AddInputFile(path, base, list);
      }
    }
  }
  progress.AddToCount(added);
  return added;
}

}  // namespace lumivane
