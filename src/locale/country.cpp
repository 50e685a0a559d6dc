#include "locale/country.h"

#include <climits>
#include <string>

#include "locale/text.h"

namespace qv {
namespace {

// A locale text longer than the platform keeps loses whole characters at its end.
void CopyItem(char (&field)[CountryInfo::kTextSize], std::string item) {
    CutToCharacters(item, LocaleTextCharacters());
    CopyText(item, field, sizeof field);
}

// A separator that holds a letter or digit is a unit word of the locale's
// formats (the 年 of "%Y年%m月%d日", the 時 of "%H時%M分"), not a separator:
// "26年12年09" would read as years. The C locale's separator stands in, as
// Windows gives these locales. A separator keeps at most 14 bytes: the default
// date format holds each separator twice beside 22 bytes of directives and
// must fit the settings record's 80.
void CopySeparator(char (&field)[CountryInfo::kTextSize], const std::string& item,
                   const char* fallback) {
    constexpr std::size_t kSeparatorBytes = 14;
    const std::string separator = HoldsWordCharacter(item) ? std::string(fallback) : item;
    CopyItem(field, separator.substr(0, CharacterBoundary(separator, kSeparatorBytes)));
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
    CopySeparator(szDateSeparator, items.dateSeparator, "/");
    CopySeparator(szTimeSeparator, items.timeSeparator, ":");
    CopyItem(szAm, items.am);
    CopyItem(szPm, items.pm);
}

}  // namespace qv
