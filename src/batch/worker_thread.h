#pragma once
// The worker thread of a batch phase: started, then waited for, so only one thread works at a time.
#include <functional>

namespace lumivane {

// Runs work on its own thread and returns when it has ended. Should the system refuse a thread, the work is done
// on the calling thread instead: the outcome is the same, only a progress display would lose its liveliness.
void RunOnWorkerThread(const std::function<void()>& work);

}  // namespace lumivane
