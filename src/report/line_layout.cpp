#include "report/line_layout.h"

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

}  // namespace qv
