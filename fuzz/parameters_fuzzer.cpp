// The command-line key and value helpers over any parameters (NUL bytes separate the parameters).
#include <cstdint>
#include <string>

#include "cli/parameters.h"
#include "fuzz_support.h"

using namespace lumivane;
using lumivane::fuzzing::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Parameters parameters;
  std::string current;
  for (const char c : fuzzing::AsText(data, size)) {
    if (c == '\0') {
      parameters.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  parameters.push_back(current);

  const int count = static_cast<int>(parameters.size());
  for (int index = -1; index <= count; ++index) {
    const std::string key = OptionKey(parameters, index);
    Require(key.empty() || key.front() == '-', "a key begins with a dash");
    Require(key.find_first_of("abcdefghijklmnopqrstuvwxyz") == std::string::npos, "a key is upper case");
    Require(key.find('=') == std::string::npos || key.rfind("--", 0) != 0, "a long key stops at the equals sign");
    const std::string value = OptionValue(parameters, index);
    if (index < 0 || index >= count) Require(key.empty() && value.empty(), "no parameter, no key and no value");

    int last = index;
    const std::string joined = QuoteJoinParameters(parameters, last, value);
    Require(last >= index && (last == index || last < count), "quote join stays within the parameters");
    Require(joined.rfind(value, 0) == 0, "quote join only appends");
  }
  return 0;
}
