#pragma once
// How much memory this process can still expect to get, for refusing sizes taken from untrusted files
// before allocating (an overcommitting kernel would hand out the address space and kill the process later).
#include <cstdint>

namespace lumivane {

// The kernel's estimate of memory available without swapping, bounded by the process's address-space limit;
// total physical memory when the estimate cannot be read.
std::uint64_t AvailableMemoryBytes();

}  // namespace lumivane
