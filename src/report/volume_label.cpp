#include "report/volume_label.h"

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

}  // namespace qv
