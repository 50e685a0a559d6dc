#include "locale/text.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>

#include "platform/locale.h"

namespace qv {
namespace {

struct Range {
    char32_t first, last;
};

// Characters that take no column: combining marks, zero-width spaces and joiners,
// variation selectors. The C library's wcwidth would need a UTF-8 locale to be
// active, which the user's may not be; these tables cover the scripts a label
// plausibly uses.
constexpr Range kZeroWidth[] = {
    {0x0300, 0x036F}, {0x0483, 0x0489}, {0x0591, 0x05BD},   {0x0610, 0x061A}, {0x064B, 0x065F},
    {0x0E31, 0x0E31}, {0x0E34, 0x0E3A}, {0x0E47, 0x0E4E},   {0x1AB0, 0x1AFF}, {0x1DC0, 0x1DFF},
    {0x200B, 0x200F}, {0x202A, 0x202E}, {0x2060, 0x2064},   {0x20D0, 0x20FF}, {0xFE00, 0xFE0F},
    {0xFE20, 0xFE2F}, {0xFEFF, 0xFEFF}, {0xE0100, 0xE01EF},
};

// East Asian wide and full-width characters, and emoji: two columns each.
constexpr Range kDoubleWidth[] = {
    {0x1100, 0x115F},   {0x2E80, 0x303E},   {0x3041, 0x33FF},   {0x3400, 0x4DBF},
    {0x4E00, 0x9FFF},   {0xA000, 0xA4CF},   {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},
    {0xFE30, 0xFE4F},   {0xFF00, 0xFF60},   {0xFFE0, 0xFFE6},   {0x1F300, 0x1F64F},
    {0x1F900, 0x1F9FF}, {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD},
};

bool InRanges(char32_t c, const Range* begin, const Range* end) {
    return std::any_of(begin, end, [c](const Range& r) { return c >= r.first && c <= r.last; });
}

int ColumnsOf(char32_t c) {
    if (InRanges(c, std::begin(kZeroWidth), std::end(kZeroWidth))) return 0;
    if (InRanges(c, std::begin(kDoubleWidth), std::end(kDoubleWidth))) return 2;
    return 1;
}

// Decodes the character at `at`; returns its length in bytes (at least 1). A
// byte that does not start a valid sequence counts as one character of its own.
std::size_t DecodeUtf8(std::string_view text, std::size_t at, char32_t& c) {
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
    const std::uint8_t lead = byte(at);
    std::size_t length = lead < 0x80           ? 1
                         : (lead >> 5) == 0x6  ? 2
                         : (lead >> 4) == 0xE  ? 3
                         : (lead >> 3) == 0x1E ? 4
                                               : 0;
    if (length == 0 || at + length > text.size()) {
        c = lead;
        return 1;
    }
    c = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            c = lead;
            return 1;
        }
        c = (c << 6) | (byte(at + i) & 0x3F);
    }
    return length;
}

std::size_t CharacterLength(std::string_view text, std::size_t at, bool utf8) {
    char32_t ignored;
    return utf8 ? DecodeUtf8(text, at, ignored) : 1;
}

}  // namespace

int DisplayWidth(std::string_view text, bool utf8) {
    if (!utf8) return static_cast<int>(text.size());
    int columns = 0;
    for (std::size_t at = 0; at < text.size();) {
        char32_t c;
        at += DecodeUtf8(text, at, c);
        columns += ColumnsOf(c);
    }
    return columns;
}

std::size_t CharacterBoundary(std::string_view text, std::size_t bytes, bool utf8) {
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t next = at + CharacterLength(text, at, utf8);
        if (next > bytes) break;
        at = next;
    }
    return at;
}

int DisplayWidth(std::string_view text) {
    return DisplayWidth(text, TextIsUtf8());
}

std::size_t CharacterBoundary(std::string_view text, std::size_t bytes) {
    return CharacterBoundary(text, bytes, TextIsUtf8());
}

std::string FirstCharacter(std::string_view text) {
    if (text.empty()) return {};
    return std::string(text.substr(0, CharacterLength(text, 0, TextIsUtf8())));
}

std::size_t CharacterCount(std::string_view text) {
    const bool utf8 = TextIsUtf8();
    std::size_t count = 0;
    for (std::size_t at = 0; at < text.size(); ++count) at += CharacterLength(text, at, utf8);
    return count;
}

std::string CharacterSlice(std::string_view text, std::size_t first, std::size_t count) {
    const bool utf8 = TextIsUtf8();
    std::size_t at = 0;
    for (std::size_t n = 0; n < first && at < text.size(); ++n)
        at += CharacterLength(text, at, utf8);
    std::size_t end = at;
    for (std::size_t n = 0; n < count && end < text.size(); ++n)
        end += CharacterLength(text, end, utf8);
    return std::string(text.substr(at, end - at));
}

void CopyText(std::string_view text, char* buffer, std::size_t size) {
    if (size == 0) return;
    const std::size_t length = CharacterBoundary(text, size - 1);
    std::memcpy(buffer, text.data(), length);
    std::memset(buffer + length, 0, size - length);
}

void FoldToUpper(std::string& text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
}

void CutToCharacters(std::string& text, std::size_t count) {
    text = CharacterSlice(text, 0, count);
}

}  // namespace qv
