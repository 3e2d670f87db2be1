#pragma once
// Captures what the process itself writes to standard output (file descriptor 1), for in-process tests of code
// that prints through PrintLine.
#include <string>
#include <vector>

namespace lumivane::testing {

class StandardOutputCapture {
 public:
  StandardOutputCapture();  // standard output goes to a temporary file from here on
  ~StandardOutputCapture();
  StandardOutputCapture(const StandardOutputCapture&) = delete;
  StandardOutputCapture& operator=(const StandardOutputCapture&) = delete;

  // Ends the capture (standard output is restored) and returns everything written meanwhile.
  std::string Text();
  // Text() split into lines (SplitLines of run_program.h).
  std::vector<std::string> Lines();

 private:
  void Restore();
  std::string path_;
  int saved_ = -1;
  std::string text_;
};

}  // namespace lumivane::testing
