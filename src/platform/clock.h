// Time facilities: the time since the system started and the local time.
#pragma once

#include <cstdint>
#include <ctime>

namespace qv {

// Milliseconds since the system started, in 64 bits: it never wraps.
std::uint64_t MillisecondsSinceStart();

// The broken-down local time of a moment (the time zone as the C library sees it).
std::tm LocalTime(std::time_t moment);

}  // namespace qv
