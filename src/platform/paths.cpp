#include "platform/paths.h"

namespace lumivane {

namespace {
constexpr bool IsSeparator(char c) { return c == '/' || c == '\\'; }
}  // namespace

std::optional<std::string_view> ExtensionOf(std::string_view path) {
  for (std::size_t i = path.size(); i-- > 0;) {
    const char c = path[i];
    if (c == '.') {
      if (i == 0 || IsSeparator(path[i - 1])) return std::nullopt;
      return path.substr(i + 1);
    }
    if (c == ' ' || IsSeparator(c)) return std::nullopt;
  }
  return std::nullopt;
}

bool HasExtension(std::string_view path) { return ExtensionOf(path).has_value(); }

std::string_view FolderPart(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? std::string_view{} : path.substr(0, slash + 1);
}

std::string_view FileNamePart(std::string_view path) { return path.substr(FolderPart(path).size()); }

std::string_view FileBaseName(std::string_view path) {
  const std::string_view name = FileNamePart(path);
  const std::optional<std::string_view> extension = ExtensionOf(name);
  if (!extension) return name;
  return name.substr(0, name.size() - extension->size() - 1);  // drop the "." too
}

std::string WithTrailingSlash(std::string_view folder) {
  std::string result(folder);
  if (result.empty() || result.back() != '/') result += '/';
  return result;
}

std::string NormaliseFolder(std::string_view folder, std::string_view baseFolder) {
  if (folder.starts_with('/')) return WithTrailingSlash(folder);
  if (folder == ".") {
    folder = {};
  } else if (folder.starts_with("./")) {
    folder.remove_prefix(2);
  }
  // Without a base a relative folder stays relative: the system then takes it from the current folder.
  if (baseFolder.empty() && folder.empty()) return "./";
  return WithTrailingSlash(std::string(baseFolder) + std::string(folder));
}

}  // namespace lumivane
