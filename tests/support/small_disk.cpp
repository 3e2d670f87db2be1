#include "support/small_disk.h"

#include <sys/mount.h>

#include <cerrno>
#include <cstring>

namespace lumivane::testing {

SmallDisk::SmallDisk(const std::string& size) {
  const std::string options = "size=" + size + ",mode=0777";
  mounted_ = ::mount("tmpfs", dir_.path().c_str(), "tmpfs", 0, options.c_str()) == 0;
  if (!mounted_) error_ = std::strerror(errno);
}

SmallDisk::~SmallDisk() {
  if (mounted_) ::umount2(dir_.path().c_str(), MNT_DETACH);
}

}  // namespace lumivane::testing
