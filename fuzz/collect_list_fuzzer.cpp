// Collecting the files a list names, with any list content, inside a small scratch tree that is the current folder.
// Lines that could leave that tree (absolute paths, "..") are not tried: the scan would wander the real disk.
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "batch/collect_inputs.h"
#include "batch/list_file_reader.h"
#include "formats/registry.h"
#include "fuzz_support.h"
#include "platform/paths.h"

using namespace lumivane;
using lumivane::fuzzing::Require;

namespace {

void MakeTree() {
  namespace fs = std::filesystem;
  const fs::path root = fuzzing::ScratchFolder() / "tree";
  fs::create_directories(root / "sub" / "deeper");
  fs::create_directories(root / ".hidden");
  const auto write = [&root](const std::string& name, const std::string& bytes) {
    fuzzing::WriteScratchFile(("tree/" + name), bytes);
    Require(fs::file_size(root / name) == bytes.size(), "tree file written");
  };
  write("a.cr2", "a");
  write("B.CR2", "b");
  write("c.cr2", "");  // empty: never collected
  write("notes.txt", "not an image");
  write("sp ace.nef", "s");
  write("tab\tname.dng", "t");
  write("sub/d.nef", "d");
  write("sub/deeper/e.dng", "e");
  write(".hidden/f.cr2", "f");
  fs::create_directory_symlink("../sub", root / "sub" / "deeper" / "loop");  // a link back up: the scan must end
  Require(chdir(root.c_str()) == 0, "the tree becomes the current folder");
}

bool StaysInTree(const std::string& listPath) {
  ListFileReader reader(listPath);
  std::string line;
  while (reader.NextLine(line)) {
    const std::size_t first = line.find_first_not_of(' ');
    if (first == std::string::npos) continue;
    if (line[first] == '/' || line.find("..") != std::string::npos) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  BuildRegistry();
  MakeTree();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string listPath = fuzzing::WriteScratchFile("list.lst", fuzzing::AsText(data, size));
  if (!StaysInTree(listPath)) return 0;

  ProgressRecord progress;
  progress.Reset();
  CollectedFileList list;
  const std::int32_t added = CollectListFile(listPath, progress, list);
  Require(added >= 0 && static_cast<std::size_t>(added) == list.Size(), "the result counts the files added");
  Require(progress.Snapshot().count == added, "the progress count is the files added");
  for (const CollectedFile* file : list.InOrder()) {
    Require(file->relativeSubfolder.empty(), "list entries have no relative subfolder");
    std::error_code error;
    Require(std::filesystem::file_size(file->path, error) > 0 && !error, "only non-empty files are collected");
    const auto extension = ExtensionOf(file->path);
    Require(extension.has_value() && IsAcceptedExtension(*extension), "only accepted extensions are collected");
  }
  return 0;
}
