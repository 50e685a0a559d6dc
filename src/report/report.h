// The report: its lines in their fixed order, each value ending in column 79.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "locale/country.h"
#include "platform/types.h"
#include "report/source.h"
#include "report/value_format.h"

namespace qv {

// The settings that change how the report shows its values.
struct ReportSettings {
    UnitSettings units;
    BOOL ShowSeconds = FALSE;
    BOOL ShowFileSystemNames = TRUE;  // file-system name after a volume's label
    BOOL ShowDiskLabels = TRUE;       // volume label after a volume's label
    std::string DateFormat;           // empty: a blank date line
};

// Numbers of the label strings in the language library.
enum LabelId : ULONG {
    kElapsedLabel = 13,
    kPhysicalMemoryFree = 15,
    kVirtualMemoryFree = 16,
    kSwapFileSize = 17,
    kSwapSpaceFree = 18,
    kSwapSlackFree = 19,
    kProcessCount = 25,
    kTotalFree = 27,
    kVolumeFree = 28,
    kDay = 40,
    kDays = 41,
};

// The column in which every value ends.
constexpr int kValueColumn = 79;
// The column on which the date line is centred.
constexpr int kDateCentre = 40;

class Report {
  public:
    Report(ReportSource& source, const CountryInfo& locale, const ReportSettings& settings)
        : Source(source), Locale(locale), Settings(settings) {}

    // The whole report, line by line, each ending in "\n".
    std::string Write();

    // The current date and time in the settings' format, centred on column 40.
    std::string DateLine();
    std::string UptimeLine();
    std::string PhysicalMemoryLine();
    std::string VirtualMemoryLine();
    // The swap file's size (with its path), free swap space and swap slack.
    std::string SwapLines();
    std::string ProcessLine();
    // Free space of the fixed volumes together, then one line per volume.
    std::string VolumeLines();

  private:
    std::string FormatBytes(std::uint64_t bytes) const;
    std::string FormatDiskUnits(std::uint64_t units) const;
    std::string VolumeLine(const std::string& format, char conversion, const Volume& volume) const;

    ReportSource& Source;
    const CountryInfo& Locale;
    const ReportSettings& Settings;
};

// The text centred on column 40: 40 - n / 2 spaces before a text of n
// columns; a text of 82 columns or more gets the overshoot in spaces instead.
std::string CentredLine(const std::string& text);

// The value-line rule: the label part, then spaces so that the value's last
// character falls in column 79, the value and "\n". When label and value are
// too long together, the overshoot in spaces is printed instead (the line then
// runs past column 79).
std::string ValueLine(const std::string& labelPart, const std::string& value);

// Names from the system may hold control characters (a mount point with a
// newline); each is shown as '?' so that a line stays one line.
std::string PrintableText(std::string_view text);

// Free swap space as total - first file + free, in 64 bits; 0 where figures
// read at different moments would make it negative.
std::uint64_t SwapFree(std::uint64_t totalPageFile, std::uint64_t swapSize,
                       std::uint64_t availPageFile);

// Free bytes in the 256-byte units of disk values, whole units only.
constexpr std::uint64_t kDiskUnit = 256;

// Whether the volume label format holds exactly one conversion and that of
// the given kind ('s' or 'c'); "%%" is allowed any number of times.
bool IsVolumeLabelFormat(std::string_view format, char conversion);

// The label text of a volume line: the format with the name put in for its
// conversion when it is a usable one, else the format as plain text. The
// result is never cut, however long the name.
std::string VolumeLabel(std::string_view format, char conversion, std::string_view name);

// The label part of a volume line with the annotations the settings allow:
// "label (disk label,file system)", "label (one of them)" or "label".
std::string AnnotatedVolumeLabel(const std::string& label, const std::string& diskLabel,
                                 const std::string& fileSystem, BOOL showDiskLabel,
                                 BOOL showFileSystemName);

// The elapsed time: "N day(s), " when a day has passed, then hours and
// minutes (and seconds), joined by the locale's time separator.
std::string FormatUptime(std::uint64_t milliseconds, const std::string& timeSeparator,
                         BOOL showSeconds, const std::string& day, const std::string& days);

}  // namespace qv
