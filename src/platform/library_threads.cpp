#include "platform/library_threads.h"

#include <dlfcn.h>

#include <algorithm>

namespace lumivane {

void LimitLibraryThreads(int threads) {
  // Looked up rather than linked: the runtime comes with the image library, and a build without it needs no change.
  using SetThreads = void (*)(int);
  static const auto setThreads = reinterpret_cast<SetThreads>(::dlsym(RTLD_DEFAULT, "omp_set_num_threads"));
  if (setThreads != nullptr) setThreads(std::max(threads, 1));
}

int LibraryThreadsPerJob(int jobs, unsigned cores) {
  if (jobs <= 1) return 0;
  return std::max(1, static_cast<int>(cores) / jobs);
}

}  // namespace lumivane
