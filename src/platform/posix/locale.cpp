#include "platform/locale.h"

#include <langinfo.h>
#include <locale.h>

#include "platform/posix/langinfo.h"

namespace qv {
namespace {

// The named locale for one category, or the C locale when the name is unknown
// (garbage in LC_ALL or LANG must not leave the report without separators).
locale_t OpenCategory(int mask, const char* name) {
    locale_t locale = ::newlocale(mask, name, static_cast<locale_t>(0));
    return locale ? locale : ::newlocale(mask, "C", static_cast<locale_t>(0));
}

}  // namespace

// Separate locale objects leave the process's own locale (and with it the
// formatting of every other number) as it is.
LocaleItems LocaleItemsNamed(const char* numericName, const char* timeName) {
    const locale_t numeric = OpenCategory(LC_NUMERIC_MASK, numericName);
    const locale_t time = OpenCategory(LC_TIME_MASK, timeName);
    LanginfoTexts texts;
    if (numeric) texts.thousandsSeparator = ::nl_langinfo_l(THOUSEP, numeric);
    if (time) {
        texts.dateFormat = ::nl_langinfo_l(D_FMT, time);
        texts.timeFormat = ::nl_langinfo_l(T_FMT, time);
        texts.timeFormatAmPm = ::nl_langinfo_l(T_FMT_AMPM, time);
        texts.am = ::nl_langinfo_l(AM_STR, time);
        texts.pm = ::nl_langinfo_l(PM_STR, time);
    }
    if (numeric) ::freelocale(numeric);
    if (time) ::freelocale(time);
    return ItemsFromLanginfo(texts);
}

// "" resolves each category from LC_ALL, LC_NUMERIC or LC_TIME, and LANG.
LocaleItems QueryLocaleItems() {
    return LocaleItemsNamed("", "");
}

// The language catalogue and the settings file are UTF-8, whatever the locale.
bool TextIsUtf8() {
    return true;
}

}  // namespace qv
