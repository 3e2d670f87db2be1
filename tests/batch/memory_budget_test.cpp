#include "batch/memory_budget.h"

#include <gtest/gtest.h>

namespace lumivane::testing {
namespace {

constexpr std::uint64_t kMiB = 1ull << 20;

TEST(EstimateFileMemory, GrowsWithTheFileAndNeverOverflows) {
  const std::uint64_t small = EstimateFileMemory(1 * kMiB);
  const std::uint64_t large = EstimateFileMemory(50 * kMiB);
  EXPECT_GT(large, small);
  // A 24-megapixel camera file of about 25 MB decodes to 24M pixels of 6 bytes plus the decoder's buffers.
  EXPECT_GE(EstimateFileMemory(25 * kMiB), 24ull * 1000 * 1000 * 6 * 2);
  EXPECT_GT(EstimateFileMemory(0), 0u);  // even an empty file has the libraries' share
  EXPECT_EQ(EstimateFileMemory(~std::uint64_t{0}), ~std::uint64_t{0});
  EXPECT_EQ(EstimateFileMemory(~std::uint64_t{0} / 8), ~std::uint64_t{0});
}

TEST(MemoryBudgetFor, TakesThreeQuartersOfWhatIsAvailable) {
  EXPECT_EQ(MemoryBudgetFor(8192 * kMiB), 6144 * kMiB);
  EXPECT_GT(MemoryBudgetFor(0), 0u);  // unknown memory still lets one file run
  EXPECT_GT(DefaultMemoryBudget(), 0u);
}

TEST(MemoryLedger, HandsOutSharesWithinTheBudget) {
  MemoryLedger ledger(100);
  EXPECT_TRUE(ledger.Fits(100));
  ledger.Reserve(60);
  EXPECT_TRUE(ledger.Fits(40));
  EXPECT_FALSE(ledger.Fits(41));
  ledger.Reserve(40);
  EXPECT_FALSE(ledger.Fits(1));
  ledger.Release(30);
  EXPECT_EQ(ledger.Reserved(), 70u);
  EXPECT_TRUE(ledger.Fits(30));
  ledger.Release(500);  // never below nothing
  EXPECT_EQ(ledger.Reserved(), 0u);
}

TEST(MemoryLedger, AShareLargerThanTheBudgetGoesAlone) {
  MemoryLedger ledger(100);
  EXPECT_TRUE(ledger.Fits(1000));
  ledger.Reserve(1000);
  EXPECT_FALSE(ledger.Fits(1));
  ledger.Reserve(~std::uint64_t{0});  // saturates instead of wrapping to a small number
  EXPECT_EQ(ledger.Reserved(), ~std::uint64_t{0});
  EXPECT_FALSE(ledger.Fits(0 + 1));
}

}  // namespace
}  // namespace lumivane::testing
