#include "platform/file_write.h"

#include <cerrno>
#include <cstddef>
#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

namespace lumivane {
namespace {

// write() may take fewer bytes than asked, or be interrupted; a full disk shows as -1 (ENOSPC) or a short count.
bool WriteAll(int descriptor, std::span<const unsigned char> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = ::write(descriptor, bytes.data() + done, bytes.size() - done);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (written == 0) return false;
    done += static_cast<std::size_t>(written);
  }
  return true;
}

bool WriteAndClose(int descriptor, std::span<const unsigned char> bytes) {
  bool ok = WriteAll(descriptor, bytes);
  // fsync reports write-back errors (for example a full disk on file systems that allocate late).
  ok = ok && ::fsync(descriptor) == 0;
  // close can report a deferred write error too, so its result counts.
  const bool closed = ::close(descriptor) == 0;
  return ok && closed;
}

}  // namespace

bool WriteFileViaTemporary(const std::string& temporaryPath, const std::string& finalPath,
                           std::span<const unsigned char> bytes) {
  if (temporaryPath.empty() || finalPath.empty() || temporaryPath == finalPath) return false;
  // O_EXCL: never write into a file that is not ours, so that removing it on failure is safe.
  const int descriptor = ::open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (descriptor < 0) return false;
  if (!WriteAndClose(descriptor, bytes) || std::rename(temporaryPath.c_str(), finalPath.c_str()) != 0) {
    ::unlink(temporaryPath.c_str());
    return false;
  }
  return true;
}

}  // namespace lumivane
