#pragma once
// The worker side of a worker process (see worker_process.h): how a freshly started program recognises that it
// was started as a worker, and the loop that serves its requests. No command-line option says so: the main
// process hands over the channel, and only a process started that way has it.
#include <functional>
#include <span>
#include <vector>

namespace lumivane {

// The work of one request in the worker: the bytes to hand back.
using WorkerTask = std::function<std::vector<unsigned char>(std::span<const unsigned char> request)>;

// Exit statuses of a worker process.
inline constexpr int kWorkerDone = 0;      // its main process closed the channel (or went away)
inline constexpr int kWorkerFailed = 120;  // it could not go on (an unreadable request, an answer it could not send)

// The channel when this process was started as a worker: descriptor kWorkerChannelDescriptor is a connected Unix
// stream socket (not a listening one) made by the parent process itself. -1 otherwise; nothing is read or changed.
int WorkerChannelFromParent();

// Makes this process a worker: stop signals ignored, no core file per bad input, nothing printed to standard
// output or error, and killed when the thread that started it ends. False when the parent has already gone.
bool PrepareWorkerProcess(int channel);

// Tells the main process that the worker is ready, then runs `task` for each request until the channel closes.
// Returns the process exit status; an exception out of the task ends the worker without an answer.
int ServeWorkerRequests(int channel, const WorkerTask& task);

}  // namespace lumivane
