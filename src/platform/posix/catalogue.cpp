#include "platform/posix/catalogue.h"

#include <optional>

#include "platform/posix/proc_text.h"

namespace qv {
namespace {

constexpr ULONG kLargestId = 65535;  // string numbers are 16 bits, as in a resource table

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

void SkipBlanks(std::string_view line, std::size_t& at) {
    while (at < line.size() && IsBlank(line[at])) ++at;
}

std::optional<ULONG> ParseId(std::string_view line, std::size_t& at) {
    const std::size_t start = at;
    ULONG id = 0;
    for (; at < line.size() && line[at] >= '0' && line[at] <= '9'; ++at) {
        id = id * 10 + static_cast<ULONG>(line[at] - '0');
        if (id > kLargestId) return std::nullopt;
    }
    if (at == start) return std::nullopt;
    return id;
}

// The quoted text from `at` (just past the opening quote) to its closing quote.
std::optional<std::string> ParseQuoted(std::string_view line, std::size_t& at, std::string& why) {
    std::string text;
    while (at < line.size()) {
        const char c = line[at++];
        if (c == '"') return text;
        if (c != '\\') {
            text += c;
            continue;
        }
        if (at == line.size()) break;
        switch (line[at++]) {
            case '"':
                text += '"';
                break;
            case '\\':
                text += '\\';
                break;
            case 'n':
                text += '\n';
                break;
            case 't':
                text += '\t';
                break;
            default:
                why = "unknown escape";
                return std::nullopt;
        }
    }
    why = "no closing quote";
    return std::nullopt;
}

// One line: nothing for a blank or comment line, else the entry or a problem.
void ParseLine(std::string_view line, int number, Catalogue& catalogue) {
    std::size_t at = 0;
    SkipBlanks(line, at);
    if (at == line.size() || line[at] == '#') return;
    const auto problem = [&](const std::string& reason) {
        catalogue.problems.push_back({number, reason});
    };
    const std::optional<ULONG> id = ParseId(line, at);
    if (!id) return problem("no string number from 0 to 65535");
    const std::size_t afterId = at;
    SkipBlanks(line, at);
    if (at == afterId || at == line.size() || line[at] != '"')
        return problem("no quoted text after the number");
    ++at;
    std::string why;
    const std::optional<std::string> text = ParseQuoted(line, at, why);
    if (!text) return problem(why);
    SkipBlanks(line, at);
    if (at != line.size()) return problem("text after the closing quote");
    if (!catalogue.strings.emplace(*id, *text).second) return problem("string number given twice");
}

}  // namespace

Catalogue ParseCatalogue(std::string_view text) {
    Catalogue catalogue;
    int number = 0;
    while (!text.empty()) ParseLine(NextLine(text), ++number, catalogue);
    return catalogue;
}

}  // namespace qv
