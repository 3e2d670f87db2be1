#include "settings/local_time.h"

namespace lumivane {

std::int32_t LocalWallClockSeconds(std::time_t moment) {
  std::tm local{};
  if (localtime_r(&moment, &local) == nullptr) return 0;
  const std::time_t wallClock = timegm(&local);
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(wallClock)));
}

std::int32_t CurrentLocalWallClockSeconds() { return LocalWallClockSeconds(std::time(nullptr)); }

}  // namespace lumivane
