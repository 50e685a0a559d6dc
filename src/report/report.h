// The report: its lines in their fixed order, each value ending in column 79.
#pragma once

#include <cstdint>
#include <string>

#include "locale/country.h"
#include "platform/types.h"
#include "report/source.h"
#include "report/value_format.h"

namespace qv {

// The settings that change how the report shows its values.
struct ReportSettings {
    UnitSettings units;
    BOOL ShowSeconds = FALSE;
    BOOL ShowFileSystemNames = TRUE;
    BOOL ShowDiskLabels = TRUE;
    std::string DateFormat;  // empty: the locale's default
};

// Numbers of the label strings in the language library.
enum LabelId : ULONG {
    kElapsedLabel = 13,
    kPhysicalMemoryFree = 15,
    kVirtualMemoryFree = 16,
    kDay = 40,
    kDays = 41,
};

// The column in which every value ends.
constexpr int kValueColumn = 79;

class Report {
  public:
    Report(ReportSource& source, const CountryInfo& locale, const ReportSettings& settings)
        : Source(source), Locale(locale), Settings(settings) {}

    // The whole report, line by line, each ending in "\n".
    std::string Write();

    std::string UptimeLine();
    std::string PhysicalMemoryLine();
    std::string VirtualMemoryLine();

  private:
    std::string FormatBytes(std::uint64_t bytes) const;

    ReportSource& Source;
    const CountryInfo& Locale;
    const ReportSettings& Settings;
};

// The value-line rule: the label part, then spaces so that the value's last
// character falls in column 79, the value and "\n". When label and value are
// too long together, the overshoot in spaces is printed instead (the line then
// runs past column 79).
std::string ValueLine(const std::string& labelPart, const std::string& value);

// The elapsed time: "N day(s), " when a day has passed, then hours and
// minutes (and seconds), joined by the locale's time separator.
std::string FormatUptime(std::uint64_t milliseconds, const std::string& timeSeparator,
                         BOOL showSeconds, const std::string& day, const std::string& days);

}  // namespace qv
