// Interim until the batch driver lands: a run converts nothing.
#include "batch/run_batch.h"

namespace lumivane {

BatchOutcome RunBatch(bool) { return BatchOutcome::kNothingCollected; }

}  // namespace lumivane
