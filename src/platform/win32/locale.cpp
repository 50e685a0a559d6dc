#include "platform/locale.h"

#include <windows.h>

#include <vector>

namespace qv {
namespace {

// The whole text of one item of the user's locale; CountryInfo cuts it to its
// field. "" when the system does not know the item.
std::string UserLocaleItem(LCTYPE item) {
    const int size = ::GetLocaleInfoA(LOCALE_USER_DEFAULT, item, nullptr, 0);
    if (size <= 0) return {};
    std::vector<char> text(static_cast<std::size_t>(size));
    const int length = ::GetLocaleInfoA(LOCALE_USER_DEFAULT, item, text.data(), size);
    return length > 0 ? std::string(text.data()) : std::string();
}

}  // namespace

LocaleItems QueryLocaleItems() {
    LocaleItems items;
    items.dateOrder = UserLocaleItem(LOCALE_IDATE);
    items.clock = UserLocaleItem(LOCALE_ITIME);
    items.thousandsSeparator = UserLocaleItem(LOCALE_STHOUSAND);
    items.dateSeparator = UserLocaleItem(LOCALE_SDATE);
    items.timeSeparator = UserLocaleItem(LOCALE_STIME);
    items.am = UserLocaleItem(LOCALE_S1159);
    items.pm = UserLocaleItem(LOCALE_S2359);
    return items;
}

// GetLocaleInfoA into the classic ten-byte field: nine characters of the code page.
std::size_t LocaleTextCharacters() {
    return 9;
}

// The ANSI code page is UTF-8 only where the system or the program's manifest
// chose it; otherwise every byte is one character.
bool TextIsUtf8() {
    return ::GetACP() == CP_UTF8;
}

}  // namespace qv
