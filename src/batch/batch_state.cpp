#include "batch/batch_state.h"

namespace lumivane {

JobRecord gJob;
ProgressRecord gProgress;
CollectedFileList gCollectedFiles;

}  // namespace lumivane
