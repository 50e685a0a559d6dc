#include "locale/datefmt.h"

#include <cstdio>

#include "locale/text.h"

namespace qv {
namespace {

// One directive expands to at most this many characters.
constexpr std::size_t kWorkArea = 79;

const char* const kEnglishDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kEnglishMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// An index into a table, safe also for a broken-down time out of range.
int Index(int value, int count) {
    return ((value % count) + count) % count;
}

// Piece `index` of `count` pieces of equal length (in characters); a remainder
// at the end of the text is never shown.
std::string Piece(const std::string& all, int count, int index) {
    const std::size_t length = CharacterCount(all) / static_cast<std::size_t>(count);
    return CharacterSlice(all, static_cast<std::size_t>(index) * length, length);
}

std::string Number(const char* format, int value) {
    char text[16];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

int Hour12(const std::tm& t) {
    return t.tm_hour % 12 == 0 ? 12 : t.tm_hour % 12;
}

// Week of the year with weeks beginning on the given weekday (0 Sunday, 1 Monday).
int Week(const std::tm& t, int firstDay) {
    return (t.tm_yday + 7 - Index(t.tm_wday - firstDay, 7)) / 7;
}

std::string EnglishDay(const std::tm& t) {
    return kEnglishDays[Index(t.tm_wday, 7)];
}
std::string EnglishMonth(const std::tm& t) {
    return kEnglishMonths[Index(t.tm_mon, 12)];
}
std::string Time24(const std::tm& t) {
    return Number("%02d", t.tm_hour) + ":" + Number("%02d", t.tm_min) + ":" +
           Number("%02d", t.tm_sec);
}

// The directives the standard time formatter would handle, produced the same
// way on every platform and in every locale: English names, fixed forms.
bool ExpandStandard(char letter, const std::tm& t, const std::string& zone, std::string& out) {
    const int year = t.tm_year + 1900;
    switch (letter) {
        case '%':
            out = "%";
            return true;
        case 'c':
            out = EnglishDay(t) + " " + EnglishMonth(t) + " " + Number("%02d", t.tm_mday) + " " +
                  Time24(t) + " " + Number("%d", year);
            return true;
        case 'd':
            out = Number("%02d", t.tm_mday);
            return true;
        case 'D':
            out = Number("%02d", t.tm_mon + 1) + "/" + Number("%02d", t.tm_mday) + "/" +
                  Number("%02d", Index(year, 100));
            return true;
        case 'H':
            out = Number("%02d", t.tm_hour);
            return true;
        case 'I':
            out = Number("%02d", Hour12(t));
            return true;
        case 'j':
            out = Number("%03d", t.tm_yday + 1);
            return true;
        case 'm':
            out = Number("%02d", t.tm_mon + 1);
            return true;
        case 'M':
            out = Number("%02d", t.tm_min);
            return true;
        case 'S':
            out = Number("%02d", t.tm_sec);
            return true;
        case 'T':
        case 'X':
            out = Time24(t);
            return true;
        case 'U':
            out = Number("%02d", Week(t, 0));
            return true;
        case 'w':
            out = Number("%d", Index(t.tm_wday, 7));
            return true;
        case 'W':
            out = Number("%02d", Week(t, 1));
            return true;
        case 'x':
            out = EnglishDay(t) + " " + EnglishMonth(t) + " " + Number("%02d", t.tm_mday) + ", " +
                  Number("%d", year);
            return true;
        case 'y':
            out = Number("%02d", Index(year, 100));
            return true;
        case 'Y':
            out = Number("%d", year);
            return true;
        case 'z':
        case 'Z':
            out = zone;
            return true;
        default:
            return false;
    }
}

// The expansion of "%" and `letter`; the two characters themselves when the
// letter is no directive.
std::string Expand(char letter, const std::tm& t, const CountryInfo& locale, const DateNames& names,
                   const std::string& zone) {
    std::string out;
    switch (letter) {
        case 'a':
            out = Piece(names.daysOfWeek, 7, Index(t.tm_wday, 7));
            break;
        case 'A':
            out = names.weekdayNames[Index(t.tm_wday, 7)];
            break;
        case 'b':
        case 'h':
            out = Piece(names.monthsOfYear, 12, Index(t.tm_mon, 12));
            break;
        case 'B':
            out = names.monthNames[Index(t.tm_mon, 12)];
            break;
        case 'p':
            out = Marker(t, locale);
            break;
        case 'r':
            out = Number("%02d", Hour12(t)) + ":" + Number("%02d", t.tm_min) + ":" +
                  Number("%02d", t.tm_sec) + " " + Marker(t, locale);
            break;
        default:
            if (!ExpandStandard(letter, t, zone, out)) out = std::string("%") + letter;
    }
    CutToCharacters(out, kWorkArea);
    return out;
}

}  // namespace

const char* Marker(const std::tm& t, const CountryInfo& locale) {
    const bool morning = (t.tm_hour == 0 && t.tm_min > 0) || (t.tm_hour >= 1 && t.tm_hour <= 11) ||
                         (t.tm_hour == 12 && t.tm_min == 0);
    return morning ? locale.szAm : locale.szPm;
}

std::string ExpandDate(const std::string& format, const std::tm& local, const CountryInfo& locale,
                       const DateNames& names, const std::string& zoneName) {
    std::string result;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || i + 1 == format.size()) {
            result += format[i];
        } else {
            result += Expand(format[++i], local, locale, names, zoneName);
        }
    }
    return result;
}

}  // namespace qv
