// Applying a profile file with any content, read from a file as the command line does.
#include <cstdint>
#include <string>

#include "cli/profile.h"
#include "formats/registry.h"
#include "fuzz_support.h"
#include "same_settings.h"
#include "settings/settings.h"

using namespace lumivane;
using lumivane::fuzzing::Require;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  BuildRegistry();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Settings& defaults = fuzzing::CommandLineDefaults();
  const std::string_view bytes = fuzzing::AsText(data, size);
  const std::string path = fuzzing::WriteScratchFile("profile.ini", bytes);

  Settings settings = defaults;
  Require(ApplyProfile(settings, path), "a readable profile is accepted whatever it holds");
  if (bytes.find('[') == std::string_view::npos) Require(settings == defaults, "no CLI group, no change");
  return 0;
}
