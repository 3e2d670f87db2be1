#pragma once
// Small helpers of the batch tests: scoped time zone and current folder, and a reference sdbm hash.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>

namespace lumivane::testing {

// Sets TZ for the scope of the object and restores the previous value.
class TimeZoneScope {
 public:
  explicit TimeZoneScope(const char* zone) {
    if (const char* old = std::getenv("TZ")) previous_ = old;
    ::setenv("TZ", zone, 1);
    ::tzset();
  }
  ~TimeZoneScope() {
    if (previous_) {
      ::setenv("TZ", previous_->c_str(), 1);
    } else {
      ::unsetenv("TZ");
    }
    ::tzset();
  }
  TimeZoneScope(const TimeZoneScope&) = delete;
  TimeZoneScope& operator=(const TimeZoneScope&) = delete;

 private:
  std::optional<std::string> previous_;
};

// Makes a folder the current one for the scope of the object.
class CurrentFolderScope {
 public:
  explicit CurrentFolderScope(const std::filesystem::path& folder) : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
  }
  ~CurrentFolderScope() { std::filesystem::current_path(previous_); }
  CurrentFolderScope(const CurrentFolderScope&) = delete;
  CurrentFolderScope& operator=(const CurrentFolderScope&) = delete;

 private:
  std::filesystem::path previous_;
};

// sdbm over UTF-16 code units, written independently of the product's version.
inline std::uint32_t ReferenceSdbm(const std::u16string& units) {
  std::uint32_t hash = 0;
  for (const char16_t unit : units) hash = unit + (hash << 6) + (hash << 16) - hash;
  return hash;
}

// The bucket of an ASCII path (its bytes are its UTF-16 units).
inline std::size_t ReferenceBucketOfAscii(const std::string& path) {
  return ReferenceSdbm(std::u16string(path.begin(), path.end())) % 512;
}

}  // namespace lumivane::testing
