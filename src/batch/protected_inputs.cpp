#include "batch/protected_inputs.h"

#include <sys/stat.h>

namespace lumivane {

ProtectedInputs::ProtectedInputs(const CollectedFileList& inputs) {
  inputs.Visit([this](const CollectedFile& input) {
    Add(input.path);
    return true;
  });
}

void ProtectedInputs::Add(const std::string& path) {
  paths_.insert(path);
  struct stat status {};
  if (::stat(path.c_str(), &status) == 0) identities_.emplace(status.st_dev, status.st_ino);
}

bool ProtectedInputs::IsInput(const std::string& outputPath) const {
  if (paths_.contains(outputPath)) return true;
  struct stat status {};
  return ::stat(outputPath.c_str(), &status) == 0 && identities_.contains({status.st_dev, status.st_ino});
}

}  // namespace lumivane
