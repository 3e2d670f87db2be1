#include "platform/available_memory.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

namespace lumivane {

namespace {

// "MemAvailable:   24347240 kB" from /proc/meminfo, in bytes; 0 when absent.
std::uint64_t MemAvailableFromProc() {
  std::FILE* file = std::fopen("/proc/meminfo", "re");
  if (file == nullptr) return 0;
  char line[256];
  unsigned long long kibibytes = 0;
  bool found = false;
  while (!found && std::fgets(line, sizeof line, file) != nullptr) {
    found = std::sscanf(line, "MemAvailable: %llu kB", &kibibytes) == 1;
  }
  std::fclose(file);
  return found ? static_cast<std::uint64_t>(kibibytes) * 1024 : 0;
}

std::uint64_t PhysicalMemory() {
  const long pages = sysconf(_SC_PHYS_PAGES);
  const long pageSize = sysconf(_SC_PAGESIZE);
  if (pages <= 0 || pageSize <= 0) return 0;
  return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize);
}

}  // namespace

std::uint64_t AvailableMemoryBytes() {
  std::uint64_t available = MemAvailableFromProc();
  if (available == 0) available = PhysicalMemory();
  rlimit limit{};
  if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
    available = std::min<std::uint64_t>(available, limit.rlim_cur);
  return available;
}

}  // namespace lumivane
