// Time facilities: the time since the system started, the local time and the
// name of its time zone.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

namespace qv {

// Milliseconds since the system started, in 64 bits: it never wraps.
std::uint64_t MillisecondsSinceStart();

// The broken-down local time of a moment (the time zone as the C library sees it).
std::tm LocalTime(std::time_t moment);

// The name of the time zone in force at that local time: the daylight-saving
// name when it applies. From TZ when it is set, else the system's setting.
std::string TimeZoneName(const std::tm& local);

}  // namespace qv
