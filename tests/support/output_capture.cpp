#include "support/output_capture.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

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

std::vector<std::string> StandardOutputCapture::Lines() {
  const std::string text = Text();
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

}  // namespace lumivane::testing
