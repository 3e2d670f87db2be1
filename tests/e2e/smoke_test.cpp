#include <gtest/gtest.h>

#include "support/run_program.h"

namespace lumivane::testing {
namespace {

TEST(Smoke, ProgramRunsAndWritesNothingToStandardError) {
  const ProgramResult result = RunProgramWith({"-v"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.errorOutput, "");
  EXPECT_FALSE(result.output.empty());
}

}  // namespace
}  // namespace lumivane::testing
