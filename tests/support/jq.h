#pragma once
// jq, an independent JSON parser, for tests of the JSON the program writes.
#include <optional>
#include <string>

namespace lumivane::testing {

// Whether jq can be run here.
bool HaveJq();

// What `jq -j filter file` prints; nullopt when jq fails, for example on input that is not JSON.
std::optional<std::string> RunJq(const std::string& filter, const std::string& file);

}  // namespace lumivane::testing
