#include "platform/posix/proc_text.h"

#include <limits>

namespace qv {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// "  123 kB" into bytes; the unit is optional (then the figure is a count).
std::optional<std::uint64_t> ParseQuantity(std::string_view rest) {
    std::size_t at = 0;
    while (at < rest.size() && IsBlank(rest[at])) ++at;
    if (at == rest.size() || rest[at] < '0' || rest[at] > '9') return std::nullopt;
    std::uint64_t value = 0;
    for (; at < rest.size() && rest[at] >= '0' && rest[at] <= '9'; ++at) {
        const unsigned digit = static_cast<unsigned>(rest[at] - '0');
        if (value > (std::numeric_limits<std::uint64_t>::max() - digit) / 10) return std::nullopt;
        value = value * 10 + digit;
    }
    while (at < rest.size() && IsBlank(rest[at])) ++at;
    const std::string_view unit = rest.substr(at);
    if (unit.empty()) return value;
    if (unit != "kB") return std::nullopt;
    if (value > std::numeric_limits<std::uint64_t>::max() / 1024) return std::nullopt;
    return value * 1024;
}

bool IsOctalDigit(char c) {
    return c >= '0' && c <= '7';
}

// "\ooo" with a value that fits a byte.
bool IsEscapeAt(std::string_view text, std::size_t at) {
    return text[at] == '\\' && at + 3 < text.size() && text[at + 1] <= '3' &&
           IsOctalDigit(text[at + 1]) && IsOctalDigit(text[at + 2]) && IsOctalDigit(text[at + 3]);
}

// The next field of a line of blank-separated fields; "" after the last.
std::string_view NextField(std::string_view& line) {
    std::size_t start = 0;
    while (start < line.size() && IsBlank(line[start])) ++start;
    std::size_t end = start;
    while (end < line.size() && !IsBlank(line[end])) ++end;
    const std::string_view field = line.substr(start, end - start);
    line.remove_prefix(end);
    return field;
}

}  // namespace

std::string DecodeOctalEscapes(std::string_view text) {
    std::string decoded;
    decoded.reserve(text.size());
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (IsEscapeAt(text, at)) {
            decoded += static_cast<char>((text[at + 1] - '0') * 64 + (text[at + 2] - '0') * 8 +
                                         (text[at + 3] - '0'));
            at += 3;
        } else {
            decoded += text[at];
        }
    }
    return decoded;
}

std::optional<SwapArea> FirstSwapArea(std::string_view text) {
    NextLine(text);  // the heading
    while (!text.empty()) {
        std::string_view line = NextLine(text);
        const std::string_view path = NextField(line);
        if (path.empty()) continue;
        NextField(line);  // type
        const auto size = ParseQuantity(NextField(line));
        if (!size || *size > std::numeric_limits<std::uint64_t>::max() / 1024) return std::nullopt;
        return SwapArea{DecodeOctalEscapes(path), *size * 1024};
    }
    return std::nullopt;
}

std::optional<std::uint64_t> MeminfoBytes(std::string_view text, std::string_view field) {
    while (!text.empty()) {
        const std::string_view line = NextLine(text);
        if (line.size() > field.size() && line.substr(0, field.size()) == field &&
            line[field.size()] == ':')
            return ParseQuantity(line.substr(field.size() + 1));
    }
    return std::nullopt;
}

std::string_view NextLine(std::string_view& text) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    return line;
}

}  // namespace qv
