#pragma once
// Reading the command-line parameters: option keys and values.
#include <string>
#include <vector>

namespace lumivane {

using Parameters = std::vector<std::string>;

// The upper-cased option name of parameter `index`: for "--name=value" the part before "=", for "-x" the whole
// (blank-trimmed) parameter, for anything else or an index past the end the empty text.
std::string OptionKey(const Parameters& parameters, int index);
// The value of parameter `index`: after the first "=" of a "--name=value" parameter, else the whole trimmed parameter.
std::string OptionValue(const Parameters& parameters, int index);
// Quote-join starting at `index` (see QuoteJoin in value_rules.h); moves `index` to the last parameter used.
std::string QuoteJoinParameters(const Parameters& parameters, int& index, std::string value);

}  // namespace lumivane
