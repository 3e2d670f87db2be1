#pragma once
#include <string>
#include <vector>

namespace lumivane {

// The help screen, filled in: programName is the running program's base name, inputExample an entry of the
// input format list (drawn afresh per line), outputExample the first output format.
std::vector<std::string> HelpLines(const std::string& programName, const std::vector<std::string>& inputFormats,
                                   const std::string& outputExample);

}  // namespace lumivane
