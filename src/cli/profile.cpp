#include "cli/profile.h"

#include <optional>

#include "cli/option_table.h"
#include "settings/preferences_reader.h"

namespace lumivane {

bool ApplyProfile(Settings& settings, const std::string& path) {
  if (path.empty()) return false;
  const std::optional<PreferencesFile> file = ReadPreferencesFile(path);
  if (!file) return false;
  for (const PreferencesEntry& entry : PreferencesGroupEntries(*file, "CLI")) {
    if (const OptionRow* row = FindOption(entry.key, /*fromProfile=*/true)) {
      ApplyOptionRow(settings, *row, entry.value, /*fromProfile=*/true);
    }
  }
  return true;
}

}  // namespace lumivane
