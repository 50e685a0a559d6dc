// FormatDate: the system's own date formatter. Day and month names come from
// the language library, the morning/afternoon marker from the user's locale.
#pragma once

#include <cstddef>
#include <ctime>
#include <string>

#include "locale/country.h"

namespace qv {

// The names the formatter takes from the language library.
struct DateNames {
    std::string daysOfWeek;       // seven abbreviations of one width, Sunday first
    std::string weekdayNames[7];  // Sunday to Saturday
    std::string monthsOfYear;     // twelve abbreviations of one width, January first
    std::string monthNames[12];   // January to December
};

// The names of the loaded language library (strings 42 to 62).
DateNames LoadDateNames();

// Expands Format for the moment Time (0: now) into Result, which holds
// ResultSize characters with the terminator; a longer text is cut, never at
// a character's middle. Returns Result.
char* FormatDate(const char* Format, char* Result, int ResultSize, std::time_t Time);

// Expands Format for the moment Time (0: now), cut after its first
// `characters` characters: the date line's text, which a byte buffer sized for
// one byte a character would cut short in UTF-8.
std::string FormatDateText(const std::string& Format, std::size_t characters, std::time_t Time);

// The expansion itself, for a given local time, locale and names.
std::string ExpandDate(const std::string& format, const std::tm& local, const CountryInfo& locale,
                       const DateNames& names, const std::string& zoneName);

// The marker of a time: the change comes one minute after noon and after
// midnight, so 12:00 is still morning and 00:00 still afternoon.
const char* Marker(const std::tm& local, const CountryInfo& locale);

}  // namespace qv
