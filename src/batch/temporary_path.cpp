#include "batch/temporary_path.h"

#include <sys/random.h>

#include <array>
#include <ctime>

namespace lumivane {
namespace {

constexpr int kRandomLetterCount = 5;

// Seconds since 1970 counted on the local wall clock.
std::int64_t LocalWallClockSeconds() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (localtime_r(&now, &local) == nullptr) return static_cast<std::int64_t>(now);
  return static_cast<std::int64_t>(timegm(&local));
}

}  // namespace

std::string RandomLetters() {
  std::array<std::uint32_t, kRandomLetterCount> draws{};
  const auto wanted = static_cast<ssize_t>(sizeof(draws));
  if (getrandom(draws.data(), sizeof(draws), 0) != wanted) {
    // No entropy to be had: the clock still makes clashes between runs unlikely.
    std::uint32_t seed = static_cast<std::uint32_t>(std::time(nullptr)) ^ static_cast<std::uint32_t>(clock());
    for (std::uint32_t& draw : draws) draw = seed = seed * 1664525u + 1013904223u;
  }
  std::string letters;
  for (const std::uint32_t draw : draws) letters += static_cast<char>('a' + draw % 26);
  return letters;
}

std::string TemporaryOutputName(std::int64_t localSeconds, std::string_view randomLetters, const std::string& format) {
  std::string name = ".lumivane";
  for (const char digit : std::to_string(localSeconds)) {
    name += (digit >= '0' && digit <= '9') ? static_cast<char>('a' + (digit - '0')) : digit;
  }
  name += randomLetters;
  name += '.';
  name += format;
  name += ".part";
  return name;
}

std::string TemporaryOutputPath(const std::string& outputFolder, const std::string& relativeSubfolder,
                                bool keepSubfolders, const std::string& format) {
  std::string path = outputFolder;
  if (keepSubfolders) path += relativeSubfolder;
  return path + TemporaryOutputName(LocalWallClockSeconds(), RandomLetters(), format);
}

}  // namespace lumivane
