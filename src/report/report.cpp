#include "report/report.h"

#include <cstdlib>

#include "locale/text.h"

namespace qv {

std::string ValueLine(const std::string& labelPart, const std::string& value) {
    const int width = kValueColumn - DisplayWidth(labelPart) - DisplayWidth(value);
    return labelPart + std::string(static_cast<std::size_t>(std::abs(width)), ' ') + value + "\n";
}

std::string PrintableText(std::string_view text) {
    std::string shown(text);
    for (char& c : shown)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
    return shown;
}

std::string CentredLine(const std::string& text) {
    const int width = kDateCentre - DisplayWidth(text) / 2;
    return std::string(static_cast<std::size_t>(std::abs(width)), ' ') + text + "\n";
}

std::string Report::DateLine() {
    return CentredLine(Source.FormatDateNow(Settings.DateFormat));
}

// One statement per line: the operands of a single "+" chain may be evaluated
// in any order, and each line must read its facts when its turn comes (the
// date before the volume queries, the process count before they leave a
// stuck child behind).
std::string Report::Write() {
    std::string text = DateLine();
    text += UptimeLine();
    text += PhysicalMemoryLine();
    text += VirtualMemoryLine();
    text += SwapLines();
    text += ProcessLine();
    text += VolumeLines();
    return text;
}

}  // namespace qv
