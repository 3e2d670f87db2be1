#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it at scope end.
#include <filesystem>
#include <string>

namespace lumivane::testing {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

  // Writes bytes to a file below the folder (creating parent folders) and returns its full path.
  std::string WriteFile(const std::string& relativePath, const std::string& bytes) const;

 private:
  std::filesystem::path path_;
};

std::string ReadFileBytes(const std::string& path);

}  // namespace lumivane::testing
