#include "cli/parameters.h"

#include "cli/value_rules.h"
#include "platform/ascii_text.h"

namespace lumivane {

namespace {

std::string TrimmedParameter(const Parameters& parameters, int index) {
  if (index < 0 || static_cast<size_t>(index) >= parameters.size()) return "";
  return std::string(TrimBlanks(parameters[static_cast<size_t>(index)]));
}

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

}  // namespace

std::string OptionKey(const Parameters& parameters, int index) {
  const std::string parameter = TrimmedParameter(parameters, index);
  if (StartsWith(parameter, "--")) return AsciiUpper(parameter.substr(0, parameter.find('=')));
  if (StartsWith(parameter, "-")) return AsciiUpper(parameter);
  return "";
}

std::string OptionValue(const Parameters& parameters, int index) {
  const std::string parameter = TrimmedParameter(parameters, index);
  if (StartsWith(parameter, "--")) {
    const size_t equals = parameter.find('=', 2);
    if (equals != std::string::npos) return parameter.substr(equals + 1);
  }
  return parameter;
}

std::string QuoteJoinParameters(const Parameters& parameters, int& index, std::string value) {
  index = QuoteJoin(value, index, static_cast<int>(parameters.size()),
                    [&parameters](int i) { return OptionValue(parameters, i); });
  return value;
}

}  // namespace lumivane
