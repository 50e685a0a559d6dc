#include <cinttypes>
#include <cstdio>

#include "report/report.h"

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

std::string Report::FormatBytes(std::uint64_t bytes) const {
    return FormatValue(bytes, Locale, Settings.units, 1);
}

std::string Report::UptimeLine() {
    const std::string label = Source.String(kElapsedLabel);
    const std::uint64_t milliseconds = Source.MillisecondsSinceStart();
    const bool needDayWords = milliseconds >= 86400000ULL;
    const std::string day = needDayWords ? Source.String(kDay) : std::string();
    const std::string days = needDayWords ? Source.String(kDays) : std::string();
    return ValueLine(
        label, FormatUptime(milliseconds, Locale.szTimeSeparator, Settings.ShowSeconds, day, days));
}

std::string Report::PhysicalMemoryLine() {
    const std::string label = Source.String(kPhysicalMemoryFree);
    return ValueLine(label, FormatBytes(Source.QueryMemoryStatus().availPhys));
}

// Free virtual memory is what remains of physical memory and paging store
// together; carried in 64 bits, it no longer wraps at 4 GiB.
std::string Report::VirtualMemoryLine() {
    const std::string label = Source.String(kVirtualMemoryFree);
    const MemoryStatus status = Source.QueryMemoryStatus();
    return ValueLine(label, FormatBytes(status.availPageFile + status.availPhys));
}

}  // namespace qv
