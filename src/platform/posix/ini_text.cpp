#include "platform/posix/ini_text.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace qv::ini {
namespace {

constexpr std::string_view kBlanks = " \t\v\f\r";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

enum class Kind { Other, Section, Entry };

// One line of the text. Offsets index the whole text; [begin, next) is the
// line with its line end, [begin, end) without it.
struct Line {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t next = 0;
    Kind kind = Kind::Other;
    std::string_view name;       // section or key, without blanks
    std::size_t valueBegin = 0;  // entries: where the value starts
    std::string_view value;      // entries: without blanks
};

std::string_view Trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; };
               return lower(x) == lower(y);
           });
}

void Classify(std::string_view text, std::size_t contentBegin, Line& line) {
    const std::string_view content = text.substr(contentBegin, line.end - contentBegin);
    const std::size_t first = content.find_first_not_of(kBlanks);
    if (first == std::string_view::npos || content[first] == ';') return;
    if (content[first] == '[') {
        const std::string_view rest = content.substr(first + 1);
        line.kind = Kind::Section;
        line.name = Trim(rest.substr(0, rest.find(']')));
        return;
    }
    const std::size_t equals = content.find('=');
    if (equals == std::string_view::npos) return;
    const std::string_view key = Trim(content.substr(0, equals));
    if (key.empty()) return;
    const std::string_view afterEquals = content.substr(equals + 1);
    const std::size_t valueStart = afterEquals.find_first_not_of(kBlanks);
    line.kind = Kind::Entry;
    line.name = key;
    line.value = Trim(afterEquals);
    line.valueBegin =
        contentBegin + equals + 1 + (valueStart == std::string_view::npos ? 0 : valueStart);
}

std::vector<Line> SplitLines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t begin = 0;
    while (begin < text.size()) {
        Line line;
        line.begin = begin;
        const std::size_t newline = text.find('\n', begin);
        line.next = newline == std::string_view::npos ? text.size() : newline + 1;
        line.end = newline == std::string_view::npos ? text.size() : newline;
        if (line.end > begin && text[line.end - 1] == '\r') --line.end;
        const bool marked = begin == 0 && text.substr(0, kUtf8Mark.size()) == kUtf8Mark;
        Classify(text, marked ? kUtf8Mark.size() : begin, line);
        lines.push_back(line);
        begin = line.next;
    }
    return lines;
}

// Calls visit(index, line) for every line inside a section of the given name,
// headers excluded.
template <typename Visit>
void ForEachLineIn(const std::vector<Line>& lines, std::string_view section, Visit visit) {
    bool inside = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind == Kind::Section) {
            inside = SameName(lines[i].name, section);
        } else if (inside) {
            visit(i, lines[i]);
        }
    }
}

std::string_view Unquoted(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// The line end the text already uses; a new text gets the platform's.
std::string_view LineEndOf(std::string_view text) {
    const std::size_t newline = text.find('\n');
    return newline != std::string_view::npos && newline > 0 && text[newline - 1] == '\r' ? "\r\n"
                                                                                         : "\n";
}

using Range = std::pair<std::size_t, std::size_t>;

std::string WithoutRanges(std::string_view text, const std::vector<Range>& ranges) {
    std::string result;
    std::size_t kept = 0;
    for (const auto& [begin, end] : ranges) {
        result.append(text.substr(kept, begin - kept));
        kept = end;
    }
    result.append(text.substr(kept));
    return result;
}

std::string Inserted(std::string_view text, std::size_t at, std::string_view insertion) {
    std::string result(text.substr(0, at));
    // A last line without its line end gets one before anything follows it.
    if (at > 0 && text[at - 1] != '\n') result.append(LineEndOf(text));
    result.append(insertion);
    result.append(text.substr(at));
    return result;
}

bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != text.npos;
}

std::optional<std::size_t> FirstHeader(const std::vector<Line>& lines, std::string_view section) {
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].kind == Kind::Section && SameName(lines[i].name, section)) return i;
    return std::nullopt;
}

// The last entry of the section that starts at the header, or the header itself.
std::size_t LastEntryOfBlock(const std::vector<Line>& lines, std::size_t header) {
    std::size_t last = header;
    for (std::size_t i = header + 1; i < lines.size() && lines[i].kind != Kind::Section; ++i)
        if (lines[i].kind == Kind::Entry) last = i;
    return last;
}

}  // namespace

std::optional<std::string> FindValue(std::string_view text, std::string_view section,
                                     std::string_view key) {
    std::optional<std::string> found;
    ForEachLineIn(SplitLines(text), section, [&](std::size_t, const Line& line) {
        if (!found && line.kind == Kind::Entry && SameName(line.name, key))
            found = std::string(Unquoted(line.value));
    });
    return found;
}

std::string WithValue(std::string_view text, std::string_view section, std::string_view key,
                      std::string_view value) {
    const std::vector<Line> lines = SplitLines(text);
    std::optional<std::size_t> entry;
    ForEachLineIn(lines, section, [&](std::size_t i, const Line& line) {
        if (!entry && line.kind == Kind::Entry && SameName(line.name, key)) entry = i;
    });
    if (entry) {
        const Line& line = lines[*entry];
        std::string result(text.substr(0, line.valueBegin));
        result.append(value);
        result.append(text.substr(line.end));
        return result;
    }
    const std::string end(LineEndOf(text));
    const std::string newEntry = std::string(key) + "=" + std::string(value) + end;
    if (const auto header = FirstHeader(lines, section))
        return Inserted(text, lines[LastEntryOfBlock(lines, *header)].next, newEntry);
    const std::string separator = text.empty() ? "" : end;
    return Inserted(text, text.size(),
                    separator + "[" + std::string(section) + "]" + end + newEntry);
}

std::string WithoutKey(std::string_view text, std::string_view section, std::string_view key) {
    std::vector<Range> ranges;
    ForEachLineIn(SplitLines(text), section, [&](std::size_t, const Line& line) {
        if (line.kind == Kind::Entry && SameName(line.name, key))
            ranges.emplace_back(line.begin, line.next);
    });
    return WithoutRanges(text, ranges);
}

std::string WithoutSection(std::string_view text, std::string_view section) {
    std::vector<Range> ranges;
    bool inside = false;
    for (const Line& line : SplitLines(text)) {
        if (line.kind == Kind::Section) inside = SameName(line.name, section);
        if (!inside) continue;
        if (!ranges.empty() && ranges.back().second == line.begin)
            ranges.back().second = line.next;
        else
            ranges.emplace_back(line.begin, line.next);
    }
    return WithoutRanges(text, ranges);
}

bool IsValidSectionName(std::string_view name) {
    return !name.empty() && Trim(name) == name && name.find(']') == name.npos &&
           !HasLineBreak(name);
}

bool IsValidKeyName(std::string_view name) {
    return !name.empty() && Trim(name) == name && name.front() != '[' && name.front() != ';' &&
           name.find('=') == name.npos && !HasLineBreak(name);
}

bool IsValidValue(std::string_view value) {
    return !HasLineBreak(value);
}

DWORD PlaceInBuffer(std::string_view value, char* buffer, DWORD size) {
    if (buffer == nullptr || size == 0) return 0;
    const std::size_t placed = std::min<std::size_t>(value.size(), size - 1);
    std::memcpy(buffer, value.data(), placed);
    buffer[placed] = '\0';
    return static_cast<DWORD>(placed);
}

}  // namespace qv::ini
