#include "cli/entry.h"

#include "cli/command_line.h"
#include "pipeline/encoder_setup.h"
#include "platform/process.h"
#include "settings/product.h"

namespace lumivane {

int RunProgram(int argc, char** argv) {
  // Standard error is never ours: libraries without a message handler must not reach the console.
  SilenceStandardError();
  InitialiseEncoders();
  SilenceLibraryMessages();
  if (!SingleInstanceGuard(ProductTitle())) return kExitAlreadyRunning;
  const Parameters parameters(argv + 1, argv + argc);
  return RunCommandLine(parameters);
}

}  // namespace lumivane
