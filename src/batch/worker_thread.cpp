#include "batch/worker_thread.h"

#include <system_error>
#include <thread>

namespace lumivane {

void RunOnWorkerThread(const std::function<void()>& work) {
  try {
    std::thread worker(work);
    worker.join();
  } catch (const std::system_error&) {
    work();
  }
}

}  // namespace lumivane
