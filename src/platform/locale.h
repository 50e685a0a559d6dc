// The user's locale items, as texts, the way the system reports them: the order
// of the short date ("0" month first, "1" day first, "2" year first), the clock
// ("0" 12-hour, "1" 24-hour), the thousands, date and time separators and the
// morning and afternoon markers.
#pragma once

#include <cstddef>
#include <string>

namespace qv {

struct LocaleItems {
    std::string dateOrder;
    std::string clock;
    std::string thousandsSeparator;
    std::string dateSeparator;
    std::string timeSeparator;
    std::string am;
    std::string pm;

    bool operator==(const LocaleItems&) const = default;
};

LocaleItems QueryLocaleItems();

// The most characters a locale text (separator, marker) keeps on any platform.
inline constexpr int kMostLocaleTextCharacters = 24;

// The most characters a locale text keeps here: nine under the ANSI rules of
// Windows; on POSIX enough for every marker of the C library's locales whole
// (the longest, Assamese, has eleven), so none is cut.
std::size_t LocaleTextCharacters();

// True when the system's texts are UTF-8 (then a character may take several
// bytes); false when every byte is one character.
bool TextIsUtf8();

}  // namespace qv
