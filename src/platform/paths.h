#pragma once
// Path text helpers: the extension test, folder and name parts, folder normalisation.
// Pure string work; nothing here touches the file system.
#include <optional>
#include <string>
#include <string_view>

namespace lumivane {

// The extension of a path: the text after the last "." of its last component, found by scanning backwards.
// A space, "/" or "\" met first means no extension; so does a "." that is the first character or directly
// follows "/" or "\" (".hidden" has none). The extension may be empty ("name." gives "").
std::optional<std::string_view> ExtensionOf(std::string_view path);
bool HasExtension(std::string_view path);

// Everything up to and including the last "/", or "" when there is none.
std::string_view FolderPart(std::string_view path);
// The last component: everything after the last "/".
std::string_view FileNamePart(std::string_view path);
// The last component without its extension (by the extension test): "/in/a.b.cr2" gives "a.b".
std::string_view FileBaseName(std::string_view path);

// A folder as the batch uses it: absolute when it begins with "/"; otherwise a leading "./" is dropped and the
// base folder (the current folder, ending in "/") is put in front. The result always ends in "/". "" and "." give
// the base folder itself.
std::string NormaliseFolder(std::string_view folder, std::string_view baseFolder);

// Appends "/" unless the text already ends with one.
std::string WithTrailingSlash(std::string_view folder);

}  // namespace lumivane
