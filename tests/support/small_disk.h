#pragma once
// A small tmpfs mounted over a fresh folder for the object's lifetime: a disk that fills up. Needs the right to
// mount (root in CI); tests skip when mounted() is false.
#include <string>

#include "support/temp_dir.h"

namespace lumivane::testing {

class SmallDisk {
 public:
  explicit SmallDisk(const std::string& size = "64k");
  ~SmallDisk();
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;

  bool mounted() const { return mounted_; }
  const std::string& error() const { return error_; }
  const TempDir& dir() const { return dir_; }

 private:
  TempDir dir_;
  bool mounted_ = false;
  std::string error_;
};

}  // namespace lumivane::testing
