#include "support/output_capture.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "support/run_program.h"
#include "support/temp_dir.h"

namespace lumivane::testing {

StandardOutputCapture::StandardOutputCapture() {
  path_ = (std::filesystem::temp_directory_path() / "lumivane-stdout-XXXXXX").string();
  const int file = mkstemp(path_.data());
  if (file < 0) std::abort();
  std::fflush(stdout);
  saved_ = dup(STDOUT_FILENO);
  dup2(file, STDOUT_FILENO);
  close(file);
}

StandardOutputCapture::~StandardOutputCapture() {
  Restore();
  std::remove(path_.c_str());
}

void StandardOutputCapture::Restore() {
  if (saved_ < 0) return;
  std::fflush(stdout);
  dup2(saved_, STDOUT_FILENO);
  close(saved_);
  saved_ = -1;
  text_ = ReadFileBytes(path_);
}

std::string StandardOutputCapture::Text() {
  Restore();
  return text_;
}

std::vector<std::string> StandardOutputCapture::Lines() { return SplitLines(Text()); }

}  // namespace lumivane::testing
