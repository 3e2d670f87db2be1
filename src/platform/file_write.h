#pragma once
// Writing a whole file so that a reader never sees it half written and an older file of the same name survives
// every failure.
#include <span>
#include <string>

namespace lumivane {

// Creates temporaryPath as a new file (it must not exist), writes bytes to it, forces them to disk and closes it,
// checking every step, then renames it onto finalPath. Only the rename replaces an older file of that name. On any
// failure the temporary file is removed (when this call created it), finalPath is left as it was, and the result is
// false. The temporary path should lie in the final file's folder, so that the rename stays on one file system.
bool WriteFileViaTemporary(const std::string& temporaryPath, const std::string& finalPath,
                           std::span<const unsigned char> bytes);

}  // namespace lumivane
