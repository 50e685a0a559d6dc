#include "resource/date_text.h"

#include "locale/text.h"
#include "platform/clock.h"
#include "platform/library.h"
#include "resource/restring.h"

namespace qv {
namespace {

// The numbers of the names in the language library.
enum StringId : ULONG {
    kDaysOfWeek = 42,
    kFirstWeekday = 43,
    kMonthsOfYear = 50,
    kFirstMonth = 51
};

// The expansion for the moment Time (0: now) in the given locale, with the
// names of the given language library.
std::string ExpandAt(const char* Format, std::time_t Time, const CountryInfo& locale,
                     HANDLE library) {
    const std::tm local = LocalTime(Time == 0 ? std::time(nullptr) : Time);
    return ExpandDate(Format, local, locale, LoadDateNames(library), TimeZoneName(local));
}

}  // namespace

DateNames LoadDateNames(HANDLE library) {
    DateNames names;
    names.daysOfWeek = ResourceString(library, kDaysOfWeek).str();
    for (ULONG i = 0; i < 7; ++i)
        names.weekdayNames[i] = ResourceString(library, kFirstWeekday + i).str();
    names.monthsOfYear = ResourceString(library, kMonthsOfYear).str();
    for (ULONG i = 0; i < 12; ++i)
        names.monthNames[i] = ResourceString(library, kFirstMonth + i).str();
    return names;
}

char* FormatDate(const char* Format, char* Result, int ResultSize, std::time_t Time) {
    if (ResultSize < 1) return Result;
    CopyText(ExpandAt(Format, Time, CountryInfo(), LibraryHandle), Result,
             static_cast<std::size_t>(ResultSize));
    return Result;
}

std::string FormatDateText(const std::string& Format, std::size_t characters, std::time_t Time,
                           const CountryInfo& locale, HANDLE library) {
    std::string text = ExpandAt(Format.c_str(), Time, locale, library);
    CutToCharacters(text, characters);
    return text;
}

}  // namespace qv
