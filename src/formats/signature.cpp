// Reading the signature window of a file on disk.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>

#include "formats/signature.h"

namespace lumivane {
namespace {

// The first bytes of a regular file, as many as it has up to the window size; empty when it cannot be read.
// Opening does not block: a FIFO or device is refused after the open, before any read.
std::string ReadSignatureWindow(const std::string& path) {
  if (path.find('\0') != std::string::npos) return {};
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return {};
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    return {};
  }
  std::array<char, kSignatureWindowSize> buffer{};
  const std::size_t wanted = std::min<std::size_t>(buffer.size(), static_cast<std::size_t>(std::max<off_t>(info.st_size, 0)));
  std::size_t have = 0;
  while (have < wanted) {
    const ssize_t got = read(fd, buffer.data() + have, wanted - have);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;  // the file may have shrunk since fstat: keep what was read
    have += static_cast<std::size_t>(got);
  }
  close(fd);
  return std::string(buffer.data(), have);
}

}  // namespace

std::string IdentifySignature(const std::string& path) { return IdentifySignatureOfBytes(ReadSignatureWindow(path)); }

}  // namespace lumivane
