#include "platform/clock.h"

#include <time.h>

namespace qv {

// CLOCK_BOOTTIME keeps counting while the machine is suspended, as the
// system's own uptime does.
std::uint64_t MillisecondsSinceStart() {
    timespec now{};
    if (::clock_gettime(CLOCK_BOOTTIME, &now) != 0) ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint64_t>(now.tv_sec) * 1000u +
           static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
}

std::tm LocalTime(std::time_t moment) {
    std::tm broken{};
    ::localtime_r(&moment, &broken);
    return broken;
}

// localtime_r fills tm_zone from TZ or the system's zone file.
std::string TimeZoneName(const std::tm& local) {
    return local.tm_zone ? local.tm_zone : "";
}

}  // namespace qv
