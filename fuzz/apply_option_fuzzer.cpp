// Applying an advanced option with any name and value, from the command line and from a profile entry.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "cli/option_table.h"
#include "formats/registry.h"
#include "fuzz_support.h"
#include "platform/ascii_text.h"
#include "same_settings.h"
#include "settings/settings.h"

using namespace lumivane;
using lumivane::fuzzing::Require;
using lumivane::fuzzing::SameSettings;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  BuildRegistry();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Settings& defaults = fuzzing::CommandLineDefaults();
  FuzzedDataProvider input(data, size);
  const std::size_t rowIndex = input.ConsumeIntegral<std::uint16_t>();
  const std::string name = input.ConsumeRandomLengthString(64);
  const std::string value = input.ConsumeRemainingBytesAsString();

  Settings settings = defaults;
  ApplyAdvancedOption(settings, name, value);
  if (FindOption(name, /*fromProfile=*/false) == nullptr) {
    Require(SameSettings(settings, defaults), "an unknown option changes nothing");
  }

  // Every row with the same value, as the command line and as a profile would give it.
  const auto rows = OptionTable();
  const OptionRow& row = rows[rowIndex % rows.size()];
  Settings fromCommandLine = defaults;
  ApplyOptionRow(fromCommandLine, row, value, /*fromProfile=*/false);
  Settings fromProfile = defaults;
  ApplyOptionRow(fromProfile, row, value, /*fromProfile=*/true);
  if (row.kind != ValueKind::kText)
    Require(SameSettings(fromCommandLine, fromProfile), "only text values differ by source");
  Settings byName = defaults;
  ApplyAdvancedOption(byName, AsciiLower(row.name), value);
  if (FindOption(row.name, /*fromProfile=*/false) == &row) {
    Require(SameSettings(byName, fromCommandLine), "an option applies the same by name in any case as by row");
  }
  return 0;
}
