#include "diag/log.h"
#include "report/report.h"

namespace qv {

bool IsVolumeLabelFormat(std::string_view format, char conversion) {
    int conversions = 0;
    for (std::size_t at = 0; at < format.size(); ++at) {
        if (format[at] != '%') continue;
        if (at + 1 == format.size()) return false;
        const char next = format[++at];
        if (next == '%') continue;
        if (next != conversion) return false;
        ++conversions;
    }
    return conversions == 1;
}

std::string VolumeLabel(std::string_view format, char conversion, std::string_view name) {
    if (!IsVolumeLabelFormat(format, conversion)) return std::string(format);
    const std::string_view argument = conversion == 'c' ? name.substr(0, 1) : name;
    std::string label;
    label.reserve(format.size() + argument.size());
    for (std::size_t at = 0; at < format.size(); ++at) {
        if (format[at] != '%') {
            label += format[at];
            continue;
        }
        label += format[++at] == '%' ? std::string_view("%") : argument;
    }
    return label;
}

std::string AnnotatedVolumeLabel(const std::string& label, const std::string& diskLabel,
                                 const std::string& fileSystem, BOOL showDiskLabel,
                                 BOOL showFileSystemName) {
    const bool withDiskLabel = showDiskLabel && !diskLabel.empty();
    const bool withFileSystem = showFileSystemName && !fileSystem.empty();
    if (withDiskLabel && withFileSystem) return label + " (" + diskLabel + "," + fileSystem + ")";
    if (withFileSystem) return label + " (" + fileSystem + ")";
    if (withDiskLabel) return label + " (" + diskLabel + ")";
    return label;
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

}  // namespace qv
