// The share of decoder threads per file, and that the limit reaches the OpenMP runtime the image library uses.
#include "platform/library_threads.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <thread>

namespace lumivane::testing {
namespace {

TEST(LibraryThreads, EachOfSeveralJobsGetsAnEqualShareOfTheCores) {
  const struct {
    int jobs;
    unsigned cores;
    int threads;
  } cases[] = {
      {1, 8, 0}, {0, 8, 0}, {2, 2, 1}, {2, 8, 4}, {3, 8, 2}, {8, 8, 1}, {16, 8, 1}, {2, 0, 1}, {64, 64, 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LibraryThreadsPerJob(c.jobs, c.cores), c.threads) << c.jobs << " jobs, " << c.cores << " cores";
  }
}

TEST(LibraryThreads, TheLimitReachesTheOpenMpRuntime) {
  using MaxThreads = int (*)();
  const auto maxThreads = reinterpret_cast<MaxThreads>(::dlsym(RTLD_DEFAULT, "omp_get_max_threads"));
  if (maxThreads == nullptr) GTEST_SKIP() << "no OpenMP runtime is loaded with the image library";
  std::thread([&] {
    LimitLibraryThreads(1);
    EXPECT_EQ(maxThreads(), 1);
    LimitLibraryThreads(3);
    EXPECT_EQ(maxThreads(), 3);
    LimitLibraryThreads(0);
    EXPECT_EQ(maxThreads(), 1) << "never below one thread";
  }).join();
}

}  // namespace
}  // namespace lumivane::testing
