#include "locale/text.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>

#include "platform/locale.h"

namespace qv {
namespace {

struct CodeRange {
    char32_t first, last;
};

// Display widths from tables made at build time out of the Unicode Character
// Database that the system ships (cmake/unicode_tables.awk), by the rules the C
// library's wcwidth follows: on Debian 12 they agree on every printable code
// point. wcwidth itself would need a UTF-8 LC_CTYPE in force, which the user's
// may not be and whose loading the report would pay for. utf8proc (Debian's
// libutf8proc-dev, static) was the other candidate. Measured with hyperfine
// on the two-core machine, the report's start-up was the same either way
// within the noise, but utf8proc made the program 330 KB larger and its peak
// resident memory 1,340 KiB instead of 1,092 KiB; it gives no column to the
// spacing marks of Indic scripts (745 code points differ from wcwidth, the
// vowel signs of Hindi among them), so labels would again end short of their
// column in a terminal; and it exists only for the native build, while a
// Windows code page may be UTF-8 too.
#include "unicode_tables.inc"

template <std::size_t N>
bool InRanges(char32_t c, const CodeRange (&ranges)[N]) {
    const auto after = std::upper_bound(std::begin(ranges), std::end(ranges), c,
                                        [](char32_t v, const CodeRange& r) { return v < r.first; });
    return after != std::begin(ranges) && c <= std::prev(after)->last;
}

int ColumnsOf(char32_t c) {
    if (InRanges(c, kZeroWidth)) return 0;
    if (InRanges(c, kDoubleWidth)) return 2;
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
        // Most of a report is printable ASCII: one column each, with no
        // decoding and no table to search.
        if (const auto byte = static_cast<unsigned char>(text[at]); byte >= 0x20 && byte < 0x7F) {
            ++columns;
            ++at;
            continue;
        }
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

bool HoldsWordCharacter(std::string_view text) {
    const bool utf8 = TextIsUtf8();
    for (std::size_t at = 0; at < text.size();) {
        char32_t c = static_cast<std::uint8_t>(text[at]);
        at += utf8 ? DecodeUtf8(text, at, c) : 1;
        if (InRanges(c, kWordCharacters)) return true;
    }
    return false;
}

void CutToCharacters(std::string& text, std::size_t count) {
    // Every character takes a byte at least: a text of no more bytes than
    // `count` has nothing to cut, and is not decoded (nearly every text is so).
    if (text.size() > count) text = CharacterSlice(text, 0, count);
}

}  // namespace qv
