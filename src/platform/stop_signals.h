#pragma once
// The signals that ask a run to stop (Ctrl-C, a closed terminal, kill): caught so that the run can end cleanly -
// no half-written file left, the report completed - instead of dying wherever it stands.
#include <array>
#include <csignal>

#include "platform/process.h"

namespace lumivane {

struct StopSignalRow {
  int signal;
  ExitCode exitCode;  // 128 + the signal's number
};

inline constexpr std::array<StopSignalRow, 3> kStopSignals = {{
    {SIGHUP, kExitHangUp},
    {SIGINT, kExitInterrupted},
    {SIGTERM, kExitTerminated},
}};

constexpr bool ExitCodesFollowTheSignals() {
  for (const StopSignalRow& row : kStopSignals) {
    if (row.exitCode != 128 + row.signal) return false;
  }
  return true;
}
static_assert(ExitCodesFollowTheSignals(), "a stopped run ends with 128 + the signal's number");

// From now on a stop signal no longer ends the process: it is noted (the first one counts) and wakes whoever
// waits on StopDescriptor. False when the wake-up descriptor cannot be made (the signals then keep their default).
bool CatchStopSignals();

// The first stop signal that arrived, or 0.
int StopSignal();
inline bool StopRequested() { return StopSignal() != 0; }

// A descriptor that polls readable once a stop signal has arrived; -1 when the signals are not caught.
int StopDescriptor();

// The exit code of a run stopped by `signal`: kExitInterrupted for a signal that is not a stop signal.
ExitCode StopExitCode(int signal);

// In a worker process: the stop signals are ignored (the terminal sends them to every process of the group; the
// main process ends its workers itself).
void IgnoreStopSignals();

}  // namespace lumivane
