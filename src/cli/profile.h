#pragma once
// Profile files: preferences files whose group "CLI" lists advanced options with their values.
#include <string>

#include "settings/settings.h"

namespace lumivane {

// Applies the entries of the profile's "CLI" group (any letter case) in file order, so a later entry wins. Keys
// match option names in any case, with the frame opacity known only as "--WM-SOLID-OPACITY"; other keys, including
// the input, output, conversion, debug, quiet, pause and profile options, are skipped. Flags are set by the mere
// presence of their key; an empty value gives 0 or the empty text. A relative path is taken from the current
// folder. Returns false when the path is empty or the file cannot be read or is no regular file (a pipe would block
// the run while it holds the single-instance guard); a file without a "CLI" group is
// accepted and changes nothing. The file is only read.
bool ApplyProfile(Settings& settings, const std::string& path);

}  // namespace lumivane
