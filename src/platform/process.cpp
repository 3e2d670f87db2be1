#include "platform/process.h"

#include <FreeImage.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#if LUMIVANE_SANITIZED_BUILD
#include <sanitizer/common_interface_defs.h>
#endif

namespace lumivane {

namespace {

void DropLibraryMessage(FREE_IMAGE_FORMAT, const char*) {}

int sanitizerReports = -1;  // see SilenceStandardError

}  // namespace

std::string ProgramPath() {
  std::vector<char> buffer(4096);
  for (;;) {
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return "";
    if (static_cast<size_t>(length) < buffer.size()) return std::string(buffer.data(), static_cast<size_t>(length));
    buffer.resize(buffer.size() * 2);  // possibly cut: try again with more room
  }
}

std::string ProgramFolder() { return FolderOfPath(ProgramPath()); }

std::string CurrentFolder() {
  std::vector<char> buffer(4096);
  for (;;) {
    if (::getcwd(buffer.data(), buffer.size()) != nullptr) {
      std::string folder(buffer.data());
      if (folder.back() != '/') folder += '/';
      return folder;
    }
    if (errno != ERANGE) return "";
    buffer.resize(buffer.size() * 2);
  }
}

std::string ProgramBaseName() { return BaseNameOfPath(ProgramPath()); }

std::string FolderOfPath(std::string_view path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string_view::npos) return "";
  return std::string(path.substr(0, slash + 1));
}

std::string BaseNameOfPath(std::string_view path) {
  const size_t slash = path.rfind('/');
  std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const size_t dot = name.rfind('.');
  if (dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);  // ".name" has no extension
  return std::string(name);
}

bool SingleInstanceGuard(const std::string& name) {
  // An abstract-namespace socket: no file to clean up, and the kernel frees the name with the process.
  const std::string lockName = name + " (uid " + std::to_string(::getuid()) + ")";
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (lockName.size() + 1 > sizeof(address.sun_path)) return false;
  address.sun_path[0] = '\0';
  std::memcpy(address.sun_path + 1, lockName.data(), lockName.size());

  const int lock = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (lock < 0) return false;
  const auto addressLength = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + lockName.size());
  if (::bind(lock, reinterpret_cast<const sockaddr*>(&address), addressLength) != 0) {
    ::close(lock);
    return false;
  }
  return true;  // the descriptor stays open, and the lock held, for the life of the process
}

void OpenStandardDescriptors() {
  for (int descriptor = STDIN_FILENO; descriptor <= STDERR_FILENO; ++descriptor) {
    if (::fcntl(descriptor, F_GETFD) >= 0 || errno != EBADF) continue;
    // open takes the lowest free number, which is this one: the ones below are open already.
    const int opened = ::open("/dev/null", descriptor == STDIN_FILENO ? O_RDONLY : O_WRONLY);
    if (opened >= 0 && opened != descriptor) {
      ::dup2(opened, descriptor);
      ::close(opened);
    }
  }
}

void SilenceStandardError() {
#if LUMIVANE_SANITIZED_BUILD
  // Made once per process, before standard error is silenced; a worker process is handed it as its standard
  // error and makes its own copy.
  if (sanitizerReports < 0) sanitizerReports = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
  if (sanitizerReports >= 0) {
    __sanitizer_set_report_fd(reinterpret_cast<void*>(static_cast<std::intptr_t>(sanitizerReports)));
  }
#endif
  const int nothing = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (nothing < 0) return;
  if (nothing == STDERR_FILENO) {
    ::fcntl(nothing, F_SETFD, 0);  // standard error was closed: keep the new one across exec like any other
    return;
  }
  ::dup2(nothing, STDERR_FILENO);
  ::close(nothing);
}

int SanitizerReportDescriptor() { return sanitizerReports; }

void SilenceLibraryMessages() { FreeImage_SetOutputMessage(DropLibraryMessage); }

}  // namespace lumivane
