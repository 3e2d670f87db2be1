#pragma once
// Date/time values are seconds since 1970-01-01 00:00:00 counted on the local wall clock, without time-zone
// conversion, in 32 bits (valid until 2038-01-19).
#include <cstdint>
#include <ctime>

namespace lumivane {

// The local wall-clock reading of a moment (timegm of localtime), low 32 bits.
std::int32_t LocalWallClockSeconds(std::time_t moment);
// The same for the current moment.
std::int32_t CurrentLocalWallClockSeconds();

}  // namespace lumivane
