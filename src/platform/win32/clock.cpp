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

}  // namespace qv
