#include "diag/fault_report.h"

namespace qv {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

struct CivilDate {
    std::int64_t year;
    int month;  // 1 to 12
    int day;    // 1 to 31
};

// The proleptic Gregorian date of a day counted from 1 January 1970, computed
// in eras of 400 years (146097 days), whose years begin on 1 March.
CivilDate DateOfDay(std::int64_t days) {
    days += 719468;  // from 1970-01-01 to 0000-03-01
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    const int month =
        static_cast<int>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    const std::int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    return {year, month, day};
}

void AddRegisterLine(FixedText& text, const char* const names[4], const std::uint64_t values[4],
                     const int digits[4]) {
    text.Add("    ");
    for (int i = 0; i < 4; ++i) {
        if (i > 0) text.Add("  ");
        text.Add(names[i]).Add(":").Hex(values[i], digits[i]);
    }
}

}  // namespace

FixedText::FixedText(char* buffer, std::size_t size) : Buffer(buffer), Size(size) {
    if (Size > 0) Buffer[0] = '\0';
}

FixedText& FixedText::Put(char c) {
    if (Used + 1 < Size) {
        Buffer[Used++] = c;
        Buffer[Used] = '\0';
    }
    return *this;
}

FixedText& FixedText::Add(const char* text) {
    while (text && *text) Put(*text++);
    return *this;
}

FixedText& FixedText::Hex(std::uint64_t value, int digits) {
    char reversed[16];
    int count = 0;
    do {
        reversed[count++] = "0123456789ABCDEF"[value & 0xF];
        value >>= 4;
    } while (value != 0);
    for (int pad = count; pad < digits; ++pad) Put('0');
    while (count > 0) Put(reversed[--count]);
    return *this;
}

FixedText& FixedText::TwoDigits(long value) {
    value %= 100;
    if (value < 0) value += 100;
    return Put(static_cast<char>('0' + value / 10)).Put(static_cast<char>('0' + value % 10));
}

void AddLogStamp(FixedText& text, std::int64_t localSeconds) {
    std::int64_t days = localSeconds / kSecondsPerDay;
    std::int64_t secondOfDay = localSeconds % kSecondsPerDay;
    if (secondOfDay < 0) {
        secondOfDay += kSecondsPerDay;
        --days;
    }
    const CivilDate date = DateOfDay(days);
    text.TwoDigits(static_cast<long>(secondOfDay / 3600)).Add(":");
    text.TwoDigits(static_cast<long>(secondOfDay / 60 % 60)).Add(":");
    text.TwoDigits(static_cast<long>(secondOfDay % 60)).Add(" ");
    text.TwoDigits(date.month).Add("/").TwoDigits(date.day).Add("/");
    text.TwoDigits(static_cast<long>(date.year % 100)).Add(" ");
}

void AddRegisterReport(FixedText& text, const FaultRegisters& r, int wordDigits) {
    static const char* const kNames[4][4] = {{"AX", "BX", "CX", "DX"},
                                             {"FL", "DI", "SI", "BP"},
                                             {"CS", "IP", "SS", "SP"},
                                             {"DS", "ES", "FS", "GS"}};
    const std::uint64_t values[4][4] = {{r.ax, r.bx, r.cx, r.dx},
                                        {r.flags, r.di, r.si, r.bp},
                                        {r.cs, r.ip, r.ss, r.sp},
                                        {r.ds, r.es, r.fs, r.gs}};
    const int w = wordDigits;
    const int digits[4][4] = {{w, w, w, w}, {8, w, w, w}, {8, w, 8, w}, {8, 8, 8, 8}};

    text.Add("WARNING: An unhandled exception has occurred at ").Hex(r.ip, wordDigits).Add(".\n");
    text.Add("  The registers were as follows:");
    for (int line = 0; line < 4; ++line) {
        text.Add("\n");
        AddRegisterLine(text, kNames[line], values[line], digits[line]);
    }
}

void AddCallerLine(FixedText& text, std::uint64_t returnAddress, int wordDigits) {
    text.Add("  Calling function was at ").Hex(returnAddress, wordDigits).Add(".");
}

}  // namespace qv
