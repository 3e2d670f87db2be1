// The folder worker and the folder scan. The scan keeps its own stack instead of recursing, so no depth of
// nesting can exhaust the thread's stack, and it keeps no folder open while it descends.
#include <dirent.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/statfs.h>

#include <memory>
#include <optional>
#include <set>
#include <vector>

#include "batch/collect_inputs.h"
#include "platform/paths.h"
#include "platform/stop_signals.h"

namespace lumivane {

namespace {

struct FolderIdentity {
  dev_t device{};
  ino_t inode{};
  auto operator<=>(const FolderIdentity&) const = default;
};

// The folders one scan has entered: none is entered twice, whatever path leads there again (a link loop, or many
// links to the same folders), and the first path met wins.
using VisitedFolders = std::set<FolderIdentity>;

// Kernel views (/proc, /sys) that links can lead into: endless through their own links and of no photos.
bool IsPseudoFileSystem(const std::string& folder) {
  struct statfs status {};
  if (::statfs(folder.c_str(), &status) != 0) return false;
  return status.f_type == PROC_SUPER_MAGIC || status.f_type == SYSFS_MAGIC;
}

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
  bool kernelView{};  // on /proc or /sys
  std::size_t next{};
};

// Scans folder and what is below it that `visited` does not hold yet. A kernel view is entered only from another
// one, or when it is where the scan begins (a folder the user named, or one whose enclosing folder is a kernel
// view: withinKernelView).
std::int32_t ScanFolderBelow(const std::string& folder, bool withinKernelView, VisitedFolders& visited,
                             const std::string& inputFolder, CollectedFileList& list) {
  std::int32_t added = 0;
  std::vector<FolderInScan> stack;
  const auto enter = [&](const std::string& path, const FolderIdentity& identity) {
    if (visited.contains(identity)) return;
    const bool kernelView = IsPseudoFileSystem(path);
    if (kernelView && !(stack.empty() ? withinKernelView : stack.back().kernelView)) return;
    std::optional<std::vector<std::string>> names = ListFolderNames(path);
    if (!names) return;
    visited.insert(identity);
    stack.push_back(FolderInScan{path, std::move(*names), kernelView});
  };
  if (const std::optional<FolderIdentity> identity = IdentityOfFolder(folder)) enter(folder, *identity);
  while (!stack.empty() && !StopRequested()) {
    FolderInScan& current = stack.back();
    if (current.next == current.names.size()) {
      stack.pop_back();
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
  VisitedFolders visited;
  return ScanFolderBelow(WithTrailingSlash(folder), /*withinKernelView=*/true, visited, inputFolder, list);
}

std::int32_t CollectFolder(const std::string& inputFolder, ProgressRecord& progress, CollectedFileList& list) {
  const std::string base = WithTrailingSlash(inputFolder);
  const std::optional<FolderIdentity> baseIdentity = IdentityOfFolder(base);
  const std::optional<std::vector<std::string>> names = ListFolderNames(base);
  std::int32_t added = 0;
  std::int32_t position = 0;
  if (baseIdentity && names) {
    VisitedFolders visited{*baseIdentity};
    const bool baseIsKernelView = IsPseudoFileSystem(base);
    for (const std::string& name : *names) {
      if (!progress.IsRunning() || StopRequested()) break;
      progress.SetPosition(++position);
      const std::string path = base + name;
      if (const std::optional<FolderIdentity> identity = IdentityOfFolder(path)) {
        added += ScanFolderBelow(path + "/", baseIsKernelView, visited, base, list);
      } else {
        added += AddInputFile(path, base, list);
      }
    }
  }
  progress.AddToCount(added);
  return added;
}

}  // namespace lumivane
