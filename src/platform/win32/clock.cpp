#include "platform/clock.h"

#include <time.h>
#include <windows.h>

#include "platform/win32/system_function.h"

namespace qv {

// GetTickCount64 first came with Vista; GetTickCount alone wraps after 49.7 days.
std::uint64_t MillisecondsSinceStart() {
    using TickCount64 = ULONGLONG(WINAPI*)();
    static const TickCount64 tickCount64 =
        SystemFunction<TickCount64>("kernel32.dll", "GetTickCount64");
    return tickCount64 ? tickCount64() : ::GetTickCount();
}

std::tm LocalTime(std::time_t moment) {
    std::tm broken{};
    ::localtime_s(&broken, &moment);
    return broken;
}

// The C runtime's names of the zone (from TZ when set): standard and daylight.
std::string TimeZoneName(const std::tm& local) {
    ::_tzset();
    return ::_tzname[local.tm_isdst > 0 ? 1 : 0];
}

}  // namespace qv
