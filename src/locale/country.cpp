#include "locale/country.h"

#include <climits>
#include <string>

#include "locale/text.h"

namespace qv {
namespace {

// A locale text longer than the field keeps its whole leading characters.
void CopyItem(char (&field)[CountryInfo::kTextSize], const std::string& item) {
    CopyText(item, field, sizeof field);
}

}  // namespace

std::int32_t LeadingNumber(const char* text) {
    while (*text == ' ' || (*text >= '\t' && *text <= '\r')) ++text;
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+') ++text;
    long long value = 0;
    for (; *text >= '0' && *text <= '9'; ++text)
        if (value <= INT_MAX) value = value * 10 + (*text - '0');
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<std::int32_t>(value);
}

CountryInfo::CountryInfo() : CountryInfo(QueryLocaleItems()) {}

CountryInfo::CountryInfo(const LocaleItems& items) {
    fsDateFmt = LeadingNumber(items.dateOrder.c_str());
    fsTimeFmt = LeadingNumber(items.clock.c_str());
    CopyItem(szThousandsSeparator, items.thousandsSeparator);
    CopyItem(szDateSeparator, items.dateSeparator);
    CopyItem(szTimeSeparator, items.timeSeparator);
    CopyItem(szAm, items.am);
    CopyItem(szPm, items.pm);
}

}  // namespace qv
