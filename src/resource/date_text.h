// The date in the names of a language library: the directives of the date
// formatter (locale/datefmt.h) expanded with the library's day and month names.
#pragma once

#include <cstddef>
#include <ctime>
#include <string>

#include "locale/country.h"
#include "locale/datefmt.h"
#include "platform/types.h"

namespace qv {

// The names of the language library (strings 42 to 62).
DateNames LoadDateNames(HANDLE library);

// Expands Format for the moment Time (0: now) into Result, which holds
// ResultSize characters with the terminator; a longer text is cut, never at
// a character's middle. Returns Result. In the user's locale as it is now,
// with the names of the loaded language library (LibraryHandle).
char* FormatDate(const char* Format, char* Result, int ResultSize, std::time_t Time);

// Expands Format for the moment Time (0: now) in the given locale with the
// names of the given library, cut after its first `characters` characters: the
// date line's text, which a byte buffer sized for one byte a character would
// cut short in UTF-8.
std::string FormatDateText(const std::string& Format, std::size_t characters, std::time_t Time,
                           const CountryInfo& locale, HANDLE library);

}  // namespace qv
