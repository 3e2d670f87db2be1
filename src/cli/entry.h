#pragma once

namespace lumivane {

// The entry sequence of the process: standard descriptors, a worker's life when the process was started as one,
// library set-up, single-instance guard, stop signals, command-line run.
// Returns the process exit code.
int RunProgram(int argc, char** argv);

}  // namespace lumivane
