#include "cli/entry.h"

#include <unistd.h>

#include "batch/content_worker.h"
#include "cli/command_line.h"
#include "pipeline/encoder_setup.h"
#include "platform/process.h"
#include "platform/stop_signals.h"
#include "settings/product.h"

namespace lumivane {

int RunProgram(int argc, char** argv) {
  // Before anything opens a descriptor: a program started with closed standard descriptors would otherwise hand
  // their numbers to the lock or a worker's channel, and console lines would go there.
  OpenStandardDescriptors();
  // A worker process of a running batch: recognised by the channel its main process handed over, not by an option.
  // It leaves at once when its work is done: nothing of it needs tidying.
  if (const std::optional<int> workerExit = ServeAsContentWorker()) ::_exit(*workerExit);
  // Standard error is never ours: libraries without a message handler must not reach the console.
  SilenceStandardError();
  InitialiseEncoders();
  SilenceLibraryMessages();
  if (!SingleInstanceGuard(ProductTitle())) return kExitAlreadyRunning;
  CatchStopSignals();
  const Parameters parameters(argv + 1, argv + argc);
  return RunCommandLine(parameters);
}

}  // namespace lumivane
