#include "platform/stop_signals.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>

namespace lumivane {
namespace {

std::atomic<int> caughtSignal{0};
std::atomic<int> wakeDescriptor{-1};
static_assert(std::atomic<int>::is_always_lock_free, "read and written by a signal handler");

// Async-signal-safe: an atomic store and a write.
void NoteStopSignal(int signal) {
  int none = 0;
  caughtSignal.compare_exchange_strong(none, signal);
  const int descriptor = wakeDescriptor.load();
  if (descriptor >= 0) {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(descriptor, &one, sizeof one);
  }
}

}  // namespace

bool CatchStopSignals() {
  if (wakeDescriptor.load() < 0) {
    const int descriptor = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (descriptor < 0) return false;
    wakeDescriptor.store(descriptor);
  }
  struct sigaction action {};
  action.sa_handler = NoteStopSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;  // library calls go on; the waits that matter poll the wake-up descriptor
  for (const StopSignalRow& row : kStopSignals) ::sigaction(row.signal, &action, nullptr);
  return true;
}

int StopSignal() { return caughtSignal.load(); }

int StopDescriptor() { return wakeDescriptor.load(); }

ExitCode StopExitCode(int signal) {
  for (const StopSignalRow& row : kStopSignals) {
    if (row.signal == signal) return row.exitCode;
  }
  return kExitInterrupted;
}

void IgnoreStopSignals() {
  for (const StopSignalRow& row : kStopSignals) ::signal(row.signal, SIG_IGN);
}

}  // namespace lumivane
