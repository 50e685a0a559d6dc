#include "report/uptime.h"

#include <cinttypes>
#include <cstdio>

namespace qv {

std::string FormatUptime(std::uint64_t milliseconds, const std::string& timeSeparator,
                         BOOL showSeconds, const std::string& day, const std::string& days) {
    std::uint64_t seconds = milliseconds / 1000;
    const std::uint64_t numberOfDays = seconds / 86400;
    seconds -= numberOfDays * 86400;
    const std::uint64_t hours = seconds / 3600;
    seconds -= hours * 3600;
    const std::uint64_t minutes = seconds / 60;
    seconds %= 60;

    char part[64];
    std::string text;
    if (numberOfDays != 0) {
        std::snprintf(part, sizeof part, "%" PRIu64 " ", numberOfDays);
        text = part + (numberOfDays > 1 ? days : day) + ", ";
    }
    std::snprintf(part, sizeof part, "%" PRIu64, hours);
    text += part + timeSeparator;
    std::snprintf(part, sizeof part, "%02" PRIu64, minutes);
    text += part;
    if (showSeconds) {
        std::snprintf(part, sizeof part, "%02" PRIu64, seconds);
        text += timeSeparator + part;
    }
    return text;
}

}  // namespace qv
