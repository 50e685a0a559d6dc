// CountryInfo: the user's country settings at the moment it is built.
#pragma once

#include <cstdint>

#include "platform/locale.h"

namespace qv {

struct CountryInfo {
    // Room for the longest text a platform keeps (LocaleTextCharacters), four
    // bytes a character in UTF-8, and the terminator.
    static constexpr int kTextSize = kMostLocaleTextCharacters * 4 + 1;

    // Queries the user's locale now.
    CountryInfo();
    // Takes the items as given; used by the constructor above and by tests.
    explicit CountryInfo(const LocaleItems& items);

    std::int32_t fsDateFmt = 0;  // 0 month-day-year, 1 day-month-year, 2 year-month-day
    std::int32_t fsTimeFmt = 0;  // 0 12-hour clock with markers, 1 24-hour clock
    std::int32_t idCountry = 0;  // declared by the record, filled by nothing
    char szThousandsSeparator[kTextSize] = {};
    char szDateSeparator[kTextSize] = {};
    char szTimeSeparator[kTextSize] = {};
    char szAm[kTextSize] = {};
    char szPm[kTextSize] = {};
};

// The decimal number at the start of the text, as the C library's atoi reads
// it (blanks, a sign, digits), saturated instead of overflowing; 0 without digits.
std::int32_t LeadingNumber(const char* text);

}  // namespace qv
