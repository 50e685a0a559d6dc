// The report: its lines in their fixed order, each assembled from the facts of
// its source, the locale and the settings.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "locale/country.h"
#include "platform/types.h"
#include "report/line_layout.h"
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

class Report {
  public:
    Report(ReportSource& source, const CountryInfo& locale, const ReportSettings& settings)
        : Source(source), Locale(locale), Settings(settings) {}

    // The whole report, line by line, each ending in "\n"; each line reads its
    // facts from the source when its turn comes.
    std::string Text();

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

// Free swap space as total - first file + free, in 64 bits; 0 where figures
// read at different moments would make it negative.
std::uint64_t SwapFree(std::uint64_t totalPageFile, std::uint64_t swapSize,
                       std::uint64_t availPageFile);

// Free bytes in the 256-byte units of disk values, whole units only.
constexpr std::uint64_t kDiskUnit = 256;

}  // namespace qv
