// The text of the time since the system started.
#pragma once

#include <cstdint>
#include <string>

#include "platform/types.h"

namespace qv {

// The elapsed time: "N day(s), " when a day has passed, then hours and
// minutes (and seconds), joined by the locale's time separator.
std::string FormatUptime(std::uint64_t milliseconds, const std::string& timeSeparator,
                         BOOL showSeconds, const std::string& day, const std::string& days);

}  // namespace qv
