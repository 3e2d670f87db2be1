#include "support/jq.h"

#include <cstdio>
#include <cstdlib>

namespace lumivane::testing {

bool HaveJq() { return std::system("jq --version >/dev/null 2>&1") == 0; }

std::optional<std::string> RunJq(const std::string& filter, const std::string& file) {
  const std::string command = "jq -j '" + filter + "' '" + file + "' 2>/dev/null";
  std::FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return std::nullopt;
  std::string out;
  char buffer[4096];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, got);
  return ::pclose(pipe) == 0 ? std::optional<std::string>(out) : std::nullopt;
}

}  // namespace lumivane::testing
