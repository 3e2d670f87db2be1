#pragma once
// The files an output may never replace: the collected inputs of the batch, by path and by identity on disk, so
// that another spelling of the same path, a symbolic link or a hard link to an input is recognised too.
#include <sys/types.h>

#include <set>
#include <string>
#include <unordered_set>
#include <utility>

#include "batch/collected_files.h"

namespace lumivane {

class ProtectedInputs {
 public:
  ProtectedInputs() = default;
  // Notes every collected path and the device and inode of each one that exists now.
  explicit ProtectedInputs(const CollectedFileList& inputs);

  void Add(const std::string& path);

  // True when writing outputPath would replace one of the inputs: the path is an input's path as collected, or
  // it names an existing file that is one of the inputs.
  bool IsInput(const std::string& outputPath) const;
  // True when the file of that device and inode is one of the inputs.
  bool IsInput(dev_t device, ino_t inode) const { return identities_.contains({device, inode}); }

 private:
  std::unordered_set<std::string> paths_;
  std::set<std::pair<dev_t, ino_t>> identities_;
};

}  // namespace lumivane
