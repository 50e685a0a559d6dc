#include "locale/datefmt.h"

#include <gtest/gtest.h>

#include <cstring>

#include "resource/date_text.h"
#include "support/utf8.h"

namespace qv {
namespace {

std::tm At(int year, int month, int day, int hour, int minute, int second, int wday, int yday) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_wday = wday;
    t.tm_yday = yday;
    return t;
}

DateNames GermanNames() {
    DateNames names;
    names.daysOfWeek = "SoMoDiMiDoFrSa";
    const char* days[] = {"Sonntag",    "Montag",  "Dienstag", "Mittwoch",
                          "Donnerstag", "Freitag", "Samstag"};
    for (int i = 0; i < 7; ++i) names.weekdayNames[i] = days[i];
    names.monthsOfYear = "JanFebMrzAprMaiJunJulAugSepOktNovDez";
    const char* months[] = {"Januar", "Februar", "M\u00e4rz", "April",   "Mai",      "Juni",
                            "Juli",   "August",  "September", "Oktober", "November", "Dezember"};
    for (int i = 0; i < 12; ++i) names.monthNames[i] = months[i];
    return names;
}

CountryInfo Locale(const char* am, const char* pm) {
    LocaleItems items{"0", "0", ",", "/", ":", am, pm};
    return CountryInfo(items);
}

// Tuesday, 3 July 2001, 14:05:09: day 184 of the year.
const std::tm kJuly3 = At(2001, 7, 3, 14, 5, 9, 2, 183);

std::string Expand(const std::string& format, const std::tm& t = kJuly3) {
    return ExpandDate(format, t, Locale("AM", "PM"), GermanNames(), "CEST");
}

TEST(ExpandDate, Directives) {
    struct {
        const char* format;
        const char* expected;
    } cases[] = {
        {"%a", "Di"},
        {"%A", "Dienstag"},
        {"%b", "Jul"},
        {"%h", "Jul"},
        {"%B", "Juli"},
        {"%p", "PM"},
        {"%r", "02:05:09 PM"},
        {"%%", "%"},
        {"%c", "Tue Jul 03 14:05:09 2001"},
        {"%d", "03"},
        {"%D", "07/03/01"},
        {"%H", "14"},
        {"%I", "02"},
        {"%j", "184"},
        {"%m", "07"},
        {"%M", "05"},
        {"%S", "09"},
        {"%T", "14:05:09"},
        {"%X", "14:05:09"},
        {"%U", "26"},
        {"%w", "2"},
        {"%W", "27"},
        {"%x", "Tue Jul 03, 2001"},
        {"%y", "01"},
        {"%Y", "2001"},
        {"%z", "CEST"},
        {"%Z", "CEST"},
        {"%e", "%e"},    // no directive: copied as it stands
        {"%Q%", "%Q%"},  // a final % is copied and ends the walk
        {"plain text", "plain text"},
        {"%a, %m/%d/%y %I:%M:%S%p %z", "Di, 07/03/01 02:05:09PM CEST"},
    };
    for (const auto& c : cases) EXPECT_EQ(Expand(c.format), c.expected) << c.format;
}

TEST(ExpandDate, AbbreviationsAreEqualPiecesOfTheirString) {
    const std::tm march = At(2001, 3, 4, 0, 0, 0, 0, 62);
    EXPECT_EQ(Expand("%b", march), "Mrz");
    DateNames names = GermanNames();
    names.daysOfWeek = "SunMonTueWedThuFriSat";
    EXPECT_EQ(ExpandDate("%a", march, Locale("", ""), names, ""), "Sun");
    names.daysOfWeek = "SunMonTueWedThuFriSatXY";  // the remainder is never shown
    EXPECT_EQ(ExpandDate("%a", kJuly3, Locale("", ""), names, ""), "Tue");
    names.daysOfWeek = "short";  // fewer than seven characters: nothing
    names.monthsOfYear = "";
    EXPECT_EQ(ExpandDate("[%a][%b][%A]", kJuly3, Locale("", ""), names, ""), "[][][Dienstag]");
}

TEST(ExpandDate, NamesLongerThanTheWorkAreaAreCut) {
    DateNames names = GermanNames();
    names.weekdayNames[2] = std::string(300, 'x');
    EXPECT_EQ(ExpandDate("%A", kJuly3, Locale("", ""), names, ""), std::string(79, 'x'));
}

TEST(ExpandDate, OutOfRangeFieldsNeverIndexOutside) {
    std::tm odd = kJuly3;
    odd.tm_wday = 9;
    odd.tm_mon = -1;
    EXPECT_EQ(Expand("%A %B", odd), "Dienstag Dezember");
}

TEST(Marker, ChangesOneMinuteAfterNoonAndMidnight) {
    struct {
        int hour, minute, second;
        const char* expected;
    } cases[] = {{0, 0, 10, "pm"},  {0, 1, 0, "am"},  {1, 0, 0, "am"},  {11, 59, 59, "am"},
                 {12, 0, 30, "am"}, {12, 1, 0, "pm"}, {13, 0, 0, "pm"}, {23, 59, 59, "pm"}};
    const CountryInfo locale = Locale("am", "pm");
    for (const auto& c : cases) {
        const std::tm t = At(2001, 7, 3, c.hour, c.minute, c.second, 2, 183);
        EXPECT_STREQ(Marker(t, locale), c.expected) << c.hour << ":" << c.minute;
    }
}

TEST(ExpandDate, TwelveHourTime) {
    EXPECT_EQ(Expand("%r", At(2001, 7, 3, 0, 5, 9, 2, 183)), "12:05:09 AM");
    EXPECT_EQ(Expand("%r", At(2001, 7, 3, 13, 7, 0, 2, 183)), "01:07:00 PM");
    EXPECT_EQ(ExpandDate("%p|%r", kJuly3, Locale("", ""), GermanNames(), ""), "|02:05:09 ");
}

TEST(ExpandDate, WeeksOfTheYear) {
    // 1 January 2006 was a Sunday; 1 January 2007 a Monday.
    EXPECT_EQ(Expand("%U %W", At(2006, 1, 1, 0, 0, 0, 0, 0)), "01 00");
    EXPECT_EQ(Expand("%U %W", At(2007, 1, 1, 0, 0, 0, 1, 0)), "00 01");
    EXPECT_EQ(Expand("%U %W", At(2006, 12, 31, 0, 0, 0, 0, 364)), "53 52");
}

TEST(FormatDate, CutsAtTheResultSize) {
    char result[8];
    std::memset(result, 'z', sizeof result);
    FormatDate("abcdefghijk", result, 8, 994169109);
    EXPECT_STREQ(result, "abcdefg");
    FormatDate("abc", result, 1, 994169109);
    EXPECT_STREQ(result, "");
    FormatDate("%Y-%m", result, 4, 994169109);
    EXPECT_STREQ(result, "200");
}

TEST(ExpandDate, PiecesAndCutsCountCharactersNotBytes) {
    REQUIRE_UTF8_TEXTS();
    DateNames names = GermanNames();
    names.monthsOfYear = "JanFebM\u00e4rAprMaiJunJulAugSepOktNovDez";  // "ä" takes two bytes
    EXPECT_EQ(ExpandDate("%b", At(2001, 3, 4, 0, 0, 0, 0, 62), Locale("", ""), names, ""),
              "M\u00e4r");
    char result[8];
    FormatDate("\u00e4\u00e4\u00e4\u00e4", result, 8, 994169109);  // never half a letter
    EXPECT_STREQ(result, "\u00e4\u00e4\u00e4");
}

}  // namespace
}  // namespace qv
