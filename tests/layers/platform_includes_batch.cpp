// Built as a source of the platform layer by the LayerDirection test: it must not compile, because batch/ lies
// above platform/.
#include "batch/job.h"
