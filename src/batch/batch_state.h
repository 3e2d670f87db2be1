#pragma once
// The process-wide batch records. Only the command-line driver and the batch driver touch these; everything
// else is handed the records it works on.
#include "batch/collected_files.h"
#include "batch/job.h"
#include "batch/progress.h"

namespace lumivane {

extern JobRecord gJob;
extern ProgressRecord gProgress;
extern CollectedFileList gCollectedFiles;

}  // namespace lumivane
