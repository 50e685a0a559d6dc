#include "report/report.h"

#include <algorithm>

#include "diag/log.h"
#include "report/uptime.h"
#include "report/volume_label.h"

namespace qv {

std::uint64_t SwapFree(std::uint64_t totalPageFile, std::uint64_t swapSize,
                       std::uint64_t availPageFile) {
    if (totalPageFile + availPageFile < swapSize) return 0;
    return totalPageFile - swapSize + availPageFile;
}

// One statement per line: the operands of a single "+" chain may be evaluated
// in any order, and each line must read its facts when its turn comes (the
// date before the volume queries, the process count before they leave a
// stuck child behind).
std::string Report::Text() {
    std::string text = DateLine();
    text += UptimeLine();
    text += PhysicalMemoryLine();
    text += VirtualMemoryLine();
    text += SwapLines();
    text += ProcessLine();
    text += VolumeLines();
    return text;
}

std::string Report::DateLine() {
    return CentredLine(Source.FormatDateNow(Settings.DateFormat));
}

std::string Report::UptimeLine() {
    const std::string label = Source.String(kElapsedLabel);
    const std::uint64_t milliseconds = Source.MillisecondsSinceStart();
    const bool needDayWords = milliseconds >= 86400000ULL;
    const std::string day = needDayWords ? Source.String(kDay) : std::string();
    const std::string days = needDayWords ? Source.String(kDays) : std::string();
    return ValueLine(
        label, FormatUptime(milliseconds, Locale.szTimeSeparator, Settings.ShowSeconds, day, days));
}

std::string Report::PhysicalMemoryLine() {
    const std::string label = Source.String(kPhysicalMemoryFree);
    return ValueLine(label, FormatBytes(Source.QueryMemoryStatus().availPhys));
}

// Free virtual memory is what remains of physical memory and paging store
// together; carried in 64 bits, it no longer wraps at 4 GiB.
std::string Report::VirtualMemoryLine() {
    const std::string label = Source.String(kVirtualMemoryFree);
    const MemoryStatus status = Source.QueryMemoryStatus();
    return ValueLine(label, FormatBytes(status.availPageFile + status.availPhys));
}

// The swap file's line carries the file's path in parentheses after the label
// (empty parentheses when there is none); free swap is the paging store's
// total less the first file's size plus its free space, or where the system's
// figures count every swap area, the store's free space, never above its
// total; the slack is the free space of the paging store. Each line reads the
// memory status afresh.
std::string Report::SwapLines() {
    const std::string sizeLabel = Source.String(kSwapFileSize);
    const SwapFile swap = Source.QuerySwapFile();
    std::string text =
        ValueLine(sizeLabel + " (" + PrintableText(swap.Path) + ")", FormatBytes(swap.Size));

    const std::string freeLabel = Source.String(kSwapSpaceFree);
    const MemoryStatus forFree = Source.QueryMemoryStatus();
    const std::uint64_t swapFree =
        Source.FreeSwapIsStoreFree()
            ? std::min(forFree.availPageFile, forFree.totalPageFile)
            : SwapFree(forFree.totalPageFile, swap.Size, forFree.availPageFile);
    text += ValueLine(freeLabel, FormatBytes(swapFree));

    const std::string slackLabel = Source.String(kSwapSlackFree);
    text += ValueLine(slackLabel, FormatBytes(Source.QueryMemoryStatus().availPageFile));
    return text;
}

// The count and one space, so that its last digit stands where the digits of
// the sizes end (their last character is the unit letter).
std::string Report::ProcessLine() {
    const std::string label = Source.String(kProcessCount);
    return ValueLine(label, std::to_string(Source.CountProcesses()) + " ");
}

// One listing of the volumes feeds both the total and the lines, so a volume
// that comes or goes meanwhile cannot be in one and not the other, and a slow
// volume is waited for once.
std::string Report::VolumeLines() {
    const std::string totalLabel = Source.String(kTotalFree);
    const std::vector<Volume> volumes = Source.QueryVolumes();
    std::uint64_t totalUnits = 0;
    for (const Volume& volume : volumes)
        if (volume.Kind == kFixedDrive) totalUnits += volume.FreeBytes / kDiskUnit;
    std::string text = ValueLine(totalLabel, FormatDiskUnits(totalUnits));

    const std::string format = Source.String(kVolumeFree);
    const char conversion = Source.VolumeNameConversion();
    if (!format.empty() && !IsVolumeLabelFormat(format, conversion))
        Log("Report: the volume label \"%s\" does not hold exactly one %%%c; shown as it is.",
            PrintableText(format).c_str(), conversion);
    for (const Volume& volume : volumes)
        if (volume.Kind != kOtherDrive) text += VolumeLine(format, conversion, volume);
    return text;
}

std::string Report::FormatBytes(std::uint64_t bytes) const {
    return FormatValue(bytes, Locale, Settings.units, 1);
}

std::string Report::FormatDiskUnits(std::uint64_t units) const {
    return FormatValue(units, Locale, Settings.units, kDiskUnit);
}

std::string Report::VolumeLine(const std::string& format, char conversion,
                               const Volume& volume) const {
    const std::string label = VolumeLabel(format, conversion, PrintableText(volume.Name));
    const std::string labelPart = AnnotatedVolumeLabel(
        label, PrintableText(volume.DiskLabel), PrintableText(volume.FileSystem),
        Settings.ShowDiskLabels, Settings.ShowFileSystemNames);
    return ValueLine(labelPart, FormatDiskUnits(volume.FreeBytes / kDiskUnit));
}

}  // namespace qv
