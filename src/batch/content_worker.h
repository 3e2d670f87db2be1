#pragma once
// The life of a content worker process: the program started as a worker by ContentWorker (isolated_conversion.h)
// takes the batch plan from its greeting, sets its libraries up itself and converts file after file.
#include <optional>
#include <span>

namespace lumivane {

// When this process was started as a content worker: serves requests until the main process closes the channel
// and returns the exit status. Nothing (and nothing done) when it was not started so. Called first thing, before
// the single-instance guard: a worker is part of the run that holds it.
std::optional<int> ServeAsContentWorker();

// The same after the channel has been taken and the greeting read (a test program that serves other greetings
// too); the process has been prepared (PrepareWorkerProcess).
int ServeContentRequests(int channel, std::span<const unsigned char> greeting);

}  // namespace lumivane
