#include "platform/worker_mode.h"

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <string>

#include "platform/process.h"
#include "platform/stop_signals.h"
#include "platform/worker_channel.h"

namespace lumivane {
namespace {

int SocketOption(int descriptor, int option) {
  int value = -1;
  socklen_t length = sizeof value;
  if (::getsockopt(descriptor, SOL_SOCKET, option, &value, &length) != 0) return -1;
  return value;
}

// The process that made the other end of the socket, or -1.
pid_t PeerProcess(int descriptor) {
  ucred peer{};
  socklen_t length = sizeof peer;
  if (::getsockopt(descriptor, SOL_SOCKET, SO_PEERCRED, &peer, &length) != 0) return -1;
  return peer.pid;
}

void PointAtNothing(int descriptor) {
  const int nothing = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (nothing < 0) return;
  ::dup2(nothing, descriptor);
  ::close(nothing);
}

}  // namespace

int WorkerChannelFromParent() {
  const int channel = kWorkerChannelDescriptor;
  struct stat status {};
  if (::fstat(channel, &status) != 0 || !S_ISSOCK(status.st_mode)) return -1;
  if (SocketOption(channel, SO_DOMAIN) != AF_UNIX || SocketOption(channel, SO_TYPE) != SOCK_STREAM ||
      SocketOption(channel, SO_ACCEPTCONN) != 0) {
    return -1;
  }
  // A socket pair made by the parent: the peer is the parent process and has no address.
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  if (::getpeername(channel, reinterpret_cast<sockaddr*>(&address), &length) != 0 || length != sizeof(sa_family_t)) {
    return -1;
  }
  if (PeerProcess(channel) != ::getppid()) return -1;
  ::fcntl(channel, F_SETFD, FD_CLOEXEC);
  return channel;
}

bool PrepareWorkerProcess(int channel) {
  IgnoreStopSignals();
  const pid_t parent = PeerProcess(channel);
  ::prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (::getppid() != parent) return false;     // the parent ended before the death signal was set
  const std::string name = ProgramBaseName();  // as the main process shows in ps and top, not "exe"
  ::prctl(PR_SET_NAME, name.c_str());
  const rlimit noCore{0, 0};
  ::setrlimit(RLIMIT_CORE, &noCore);
  PointAtNothing(STDOUT_FILENO);
  SilenceStandardError();
  return true;
}

int ServeWorkerRequests(int channel, const WorkerTask& task) {
  if (!SendWorkerMessage(channel, {})) return kWorkerDone;  // ready
  std::vector<unsigned char> request;
  for (;;) {
    if (!ReceiveWorkerMessage(channel, request, kLargestWorkerRequest)) return kWorkerDone;
    std::vector<unsigned char> result;
    try {
      result = task(request);
    } catch (...) {
      return kWorkerFailed;  // no answer: the main process counts a crash
    }
    if (!SendWorkerMessage(channel, result)) return kWorkerDone;
  }
}

}  // namespace lumivane
