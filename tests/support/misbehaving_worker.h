#pragma once
// A worker task for the tests of worker processes, served by the unit test program itself when it is started as a
// worker with kMisbehavingGreeting (tests/unit_main.cpp).
#include <span>
#include <string>
#include <vector>

namespace lumivane::testing {

inline const std::vector<unsigned char> kMisbehavingGreeting = {'t', 'e', 's', 't', '-', 'w', 'o', 'r', 'k', 'e', 'r'};

// Echoes the request, or does as it asks: "abort", "segv", "_exit", "exit", "throw", "hang", "count" (how many
// requests this worker has served, as text), "descriptors" (its open descriptor numbers, "0 1 2 3"), or a size in
// bytes ("size:N") for a patterned result of that size.
std::vector<unsigned char> MisbehavingWorkerTask(std::span<const unsigned char> request);

// The patterned bytes of "size:N".
std::vector<unsigned char> Pattern(std::size_t size, unsigned seed);

}  // namespace lumivane::testing
