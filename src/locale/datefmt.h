// The system's own date formatter: a format with directives expanded for a
// moment, in a locale, with the day and month names it is given.
#pragma once

#include <ctime>
#include <string>

#include "locale/country.h"

namespace qv {

// The names the formatter puts in, as the language library holds them.
struct DateNames {
    std::string daysOfWeek;       // seven abbreviations of one width, Sunday first
    std::string weekdayNames[7];  // Sunday to Saturday
    std::string monthsOfYear;     // twelve abbreviations of one width, January first
    std::string monthNames[12];   // January to December
};

// The expansion itself, for a given local time, locale and names.
std::string ExpandDate(const std::string& format, const std::tm& local, const CountryInfo& locale,
                       const DateNames& names, const std::string& zoneName);

// The marker of a time: the change comes one minute after noon and after
// midnight, so 12:00 is still morning and 00:00 still afternoon.
const char* Marker(const std::tm& local, const CountryInfo& locale);

}  // namespace qv
