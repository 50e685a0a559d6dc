// FormatValue: a quantity of memory or disk space as the report shows it.
#pragma once

#include <cstdint>
#include <string>

#include "locale/country.h"

namespace qv {

// Units that a value may be shown in, widened from the settings record.
struct UnitSettings {
    int ShowK = 1;      // 0 bytes always, 2 K or larger always, else K from KiloBreak on
    int ShowTrueK = 1;  // binary units and upper-case letters; else decimal, lower case
    int ShowM = 1;
    int ShowG = 1;
};

// Value counts units of Scale bytes (1 for memory, 256 for disks); Scale is at
// least 1. The result is the figure in digit groups and exactly one suffix: a
// space for bytes, else the unit letter. Values are 64 bits: a figure of 2^32
// or more is shown exactly, and the product with Scale saturates instead of
// wrapping.
std::string FormatValue(std::uint64_t Value, const CountryInfo& Locale, const UnitSettings& units,
                        int Scale);

// Digits of the number in groups of three, joined by the separator.
std::string GroupDigits(std::uint64_t number, const std::string& separator);

}  // namespace qv
