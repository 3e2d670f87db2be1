#include "platform/worker_channel.h"

#include <sys/socket.h>

#include <cerrno>
#include <new>

namespace lumivane {
namespace {

bool SendAll(int socket, const void* data, std::size_t size) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  while (size > 0) {
    const ssize_t sent = ::send(socket, bytes, size, MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) continue;
    if (sent <= 0) return false;
    bytes += sent;
    size -= static_cast<std::size_t>(sent);
  }
  return true;
}

bool ReceiveAll(int socket, void* data, std::size_t size) {
  auto* bytes = static_cast<unsigned char*>(data);
  while (size > 0) {
    const ssize_t got = ::recv(socket, bytes, size, 0);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    bytes += got;
    size -= static_cast<std::size_t>(got);
  }
  return true;
}

}  // namespace

bool SendWorkerMessage(int channel, std::span<const unsigned char> message) {
  const WorkerMessageSize size = message.size();
  return SendAll(channel, &size, sizeof size) && SendAll(channel, message.data(), message.size());
}

bool ReceiveWorkerMessage(int channel, std::vector<unsigned char>& message, std::uint64_t largest) {
  WorkerMessageSize size = 0;
  if (!ReceiveAll(channel, &size, sizeof size) || size > largest) return false;
  try {
    message.resize(static_cast<std::size_t>(size));
  } catch (const std::bad_alloc&) {
    return false;
  }
  return ReceiveAll(channel, message.data(), message.size());
}

}  // namespace lumivane
