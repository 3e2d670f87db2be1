#pragma once
// What a content worker process receives before its first file: the batch plan, with the settings as rows of the
// settings table ("Group/Key" and the value's text), whether the batch draws a text watermark (the worker then
// makes the font itself) and the decoder threads it may use. The worker is a fresh process, so nothing else of
// the main process reaches it.
#include <span>
#include <vector>

#include "settings/conversion_records.h"

namespace lumivane {

struct WorkerGreeting {
  BatchPlan plan;
  bool watermarkFont = false;  // the batch has a text watermark font: the worker loads the same one
  int libraryThreads = 0;      // OpenMP threads a file's decoding may use; 0: the library's own choice
};

std::vector<unsigned char> PackWorkerGreeting(const WorkerGreeting& greeting);

// The packed greeting into `greeting`. False when packed is not exactly one whole greeting, or names a setting
// the table does not have (greeting is then unchanged).
bool UnpackWorkerGreeting(std::span<const unsigned char> packed, WorkerGreeting& greeting);

}  // namespace lumivane
