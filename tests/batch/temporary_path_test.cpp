#include "batch/temporary_path.h"

#include <gtest/gtest.h>

#include <ctime>
#include <set>
#include <string>

namespace lumivane::testing {
namespace {

TEST(TemporaryOutputName, IsHiddenWithTheSecondsAsLettersThenTheRandomLettersTheFormatAndPart) {
  EXPECT_EQ(TemporaryOutputName(1733740000, "qwxyz", "jpg"), ".lumivanebhddheaaaaqwxyz.jpg.part");
  EXPECT_EQ(TemporaryOutputName(9876543210, "aaaaa", "tiff"), ".lumivanejihgfedcbaaaaaa.tiff.part");
  EXPECT_EQ(TemporaryOutputName(0, "zzzzz", "psd"), ".lumivaneazzzzz.psd.part");
}

bool AllLowerCaseLetters(const std::string& text) {
  for (const char c : text) {
    if (c < 'a' || c > 'z') return false;
  }
  return !text.empty();
}

TEST(RandomLetters, GivesFiveLettersFromAToZThatVary) {
  std::set<std::string> seen;
  for (int i = 0; i < 20; ++i) {
    const std::string letters = RandomLetters();
    EXPECT_EQ(letters.size(), 5u);
    EXPECT_TRUE(AllLowerCaseLetters(letters)) << letters;
    seen.insert(letters);
  }
  EXPECT_GT(seen.size(), 1u);
}

std::int64_t LocalSecondsNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return static_cast<std::int64_t>(timegm(&local));
}

// The seconds written in a name as letters, read back.
std::int64_t SecondsOf(const std::string& letters) {
  std::int64_t seconds = 0;
  for (const char c : letters) seconds = seconds * 10 + (c - 'a');
  return seconds;
}

TEST(TemporaryOutputPath, IsTheOutputFolderWithTheSubfolderOnlyWhenSubfoldersAreKept) {
  const std::string kept = TemporaryOutputPath("/out/", "day1/raw/", true, "png");
  const std::string flat = TemporaryOutputPath("/out/", "day1/raw/", false, "png");
  EXPECT_EQ(kept.rfind("/out/day1/raw/.lumivane", 0), 0u) << kept;
  EXPECT_EQ(flat.rfind("/out/.lumivane", 0), 0u) << flat;
  EXPECT_EQ(TemporaryOutputPath("/out/", "", true, "png").rfind("/out/.lumivane", 0), 0u);
}

TEST(TemporaryOutputPath, NamesTheLocalTimeAndFiveRandomLetters) {
  const std::int64_t before = LocalSecondsNow();
  const std::string path = TemporaryOutputPath("/out/", "", false, "webp");
  const std::int64_t after = LocalSecondsNow();
  const std::string prefix = "/out/.lumivane";
  const std::string suffix = ".webp.part";
  ASSERT_EQ(path.rfind(prefix, 0), 0u);
  ASSERT_EQ(path.substr(path.size() - suffix.size()), suffix);
  const std::string letters = path.substr(prefix.size(), path.size() - prefix.size() - suffix.size());
  ASSERT_TRUE(AllLowerCaseLetters(letters)) << letters;
  const std::size_t timeLetters = std::to_string(before).size();
  ASSERT_EQ(letters.size(), timeLetters + 5);
  const std::int64_t seconds = SecondsOf(letters.substr(0, timeLetters));
  EXPECT_GE(seconds, before);
  EXPECT_LE(seconds, after);
}

}  // namespace
}  // namespace lumivane::testing
