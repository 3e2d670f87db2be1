#include "platform/available_memory.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

namespace lumivane::testing {
namespace {

std::uint64_t AddressSpaceInUse() {
  unsigned long long pages = 0;
  std::FILE* statm = std::fopen("/proc/self/statm", "r");
  if (statm == nullptr) return 0;
  if (std::fscanf(statm, "%llu", &pages) != 1) pages = 0;
  std::fclose(statm);
  return pages * static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE));
}

TEST(AvailableMemoryBytes, IsBoundedByTheAddressSpaceLimit) {
  const std::uint64_t unlimited = AvailableMemoryBytes();
  ASSERT_GT(unlimited, std::uint64_t{16} << 20);
  const std::uint64_t limit = AddressSpaceInUse() + (std::uint64_t{256} << 20);
  if (limit >= unlimited / 2) GTEST_SKIP() << "the process already maps more than the machine has free";

  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const rlimit bound{limit, limit};
    if (setrlimit(RLIMIT_AS, &bound) != 0) _exit(2);
    _exit(AvailableMemoryBytes() == limit ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace lumivane::testing
