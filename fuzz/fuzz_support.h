#pragma once
// Shared by the fuzz targets: a scratch folder per process, files written from the fuzzer's bytes, and a check
// that stops the run with a message when a property of the code under test does not hold.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

namespace lumivane::fuzzing {

// Aborts, so that libFuzzer keeps the input as a crash artifact.
inline void Require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "fuzz property failed: %s\n", what);
  std::abort();
}

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// A folder of its own below $TMPDIR (or /tmp), made on first use. scripts/fuzz.sh points TMPDIR into the build
// folder and removes it afterwards, since libFuzzer may end the process without running destructors.
inline const std::filesystem::path& ScratchFolder() {
  static const std::filesystem::path folder = [] {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/lumivane-fuzz-XXXXXX";
    Require(mkdtemp(pattern.data()) != nullptr, "scratch folder can be made");
    return std::filesystem::path(pattern);
  }();
  return folder;
}

// Replaces the file `name` in the scratch folder with the bytes and returns its path.
inline std::string WriteScratchFile(const std::string& name, std::string_view bytes) {
  const std::string path = (ScratchFolder() / name).string();
  std::FILE* file = std::fopen(path.c_str(), "wb");
  Require(file != nullptr, "scratch file can be created");
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  Require(std::fclose(file) == 0 && written, "scratch file can be written");
  return path;
}

}  // namespace lumivane::fuzzing
