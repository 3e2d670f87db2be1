#include "batch/job.h"

#include <mutex>
#include <random>

namespace lumivane {

void ResetJob(JobRecord& job) {
  job = JobRecord{};
  job.projectName = kUntitledProjectName;
}

FileNumbering FirstFileNumbering() {
  FileNumbering numbering;
  numbering.randomNumber = DrawRandomNumber();
  return numbering;
}

void NumberNextFile(FileNumbering& numbering) {
  numbering.randomNumber = DrawRandomNumber();
  ++numbering.fileCounter;
}

std::int32_t DrawRandomNumber() {
  static std::mutex generatorLock;
  static std::mt19937 generator{std::random_device{}()};
  std::uniform_int_distribution<std::int32_t> distribution(1, kLargestRandomNumber);
  const std::lock_guard<std::mutex> hold(generatorLock);
  return distribution(generator);
}

bool IsDebugMode(const JobRecord& job) { return job.debugMarker == kDebugMarker; }

bool IsVerbose(const JobRecord& job) { return job.consoleMode == 1 && IsDebugMode(job); }

}  // namespace lumivane
