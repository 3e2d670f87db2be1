#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include "settings/local_time.h"

namespace lumivane::testing {
namespace {

// Sets TZ for one test and restores it afterwards.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* zone) {
    if (const char* old = std::getenv("TZ")) previous_ = old;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~ScopedTimeZone() {
    if (previous_) {
      setenv("TZ", previous_->c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }

 private:
  std::optional<std::string> previous_;
};

TEST(LocalWallClockSeconds, CountsTheLocalClockReadingWithoutZoneOffset) {
  struct Case {
    const char* zone;
    std::time_t moment;
    std::int32_t expected;
  };
  const Case cases[] = {
      {"UTC0", 0, 0},
      {"UTC0", 1700000000, 1700000000},
      {"XST-2", 0, 7200},          // two hours ahead of UTC
      {"XST5", 86400, 86400 - 18000},  // five hours behind
      {"XST-2", 1700000000, 1700000000 + 7200},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.zone) + " at " + std::to_string(c.moment));
    const ScopedTimeZone zone(c.zone);
    EXPECT_EQ(LocalWallClockSeconds(c.moment), c.expected);
  }
}

TEST(LocalWallClockSeconds, KeepsTheLowThirtyTwoBitsAfter2038) {
  const ScopedTimeZone zone("UTC0");
  const std::time_t moment = std::time_t{1} << 31;  // 2038-01-19 03:14:08
  EXPECT_EQ(LocalWallClockSeconds(moment), INT32_MIN);
}

}  // namespace
}  // namespace lumivane::testing
