#pragma once

namespace lumivane {

// The entry sequence of the process: library set-up, single-instance guard, command-line run.
// Returns the process exit code.
int RunProgram(int argc, char** argv);

}  // namespace lumivane
