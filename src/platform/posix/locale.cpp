#include "platform/locale.h"

#include <langinfo.h>
#include <locale.h>

#include <cstdlib>
#include <initializer_list>
#include <string>

#include "platform/posix/langinfo.h"
#include "platform/posix/locale.h"

namespace qv {
namespace {

// Puts the named locale in force for one category while it lives, or the C
// locale when the name is unknown (garbage in LC_ALL or LANG must not leave
// the report without separators), and restores the previous one after. The
// program is linked statically, and there the C library shows a category's
// items only once setlocale has loaded it: newlocale alone gives C's.
class CategoryLocale {
  public:
    CategoryLocale(int category, const char* name) : Category(category) {
        const char* previous = ::setlocale(category, nullptr);
        Previous = previous ? previous : "C";
        if (!::setlocale(category, name)) ::setlocale(category, "C");
    }
    ~CategoryLocale() { ::setlocale(Category, Previous.c_str()); }
    CategoryLocale(const CategoryLocale&) = delete;
    CategoryLocale& operator=(const CategoryLocale&) = delete;

  private:
    int Category;
    std::string Previous;
};

// The name the C library gives a category for "": LC_ALL, then the
// category's own variable, then LANG.
std::string ResolvedName(const char* name, const char* categoryVariable) {
    if (*name) return name;
    for (const char* variable : {"LC_ALL", categoryVariable, "LANG"})
        if (const char* value = ::getenv(variable); value && *value) return value;
    return "C";
}

// C, POSIX and the C locale in UTF-8 have the same numeric and time items.
bool IsCLocale(const std::string& name) {
    return name == "C" || name == "POSIX" || name.rfind("C.", 0) == 0;
}

// What the C locale gives, known without loading anything.
LanginfoTexts CLocaleTexts() {
    return {"%m/%d/%y", "%H:%M:%S", "%I:%M:%S %p", "", "AM", "PM"};
}

}  // namespace

LocaleItems LocaleItemsNamed(const char* numericName, const char* timeName) {
    // Most containers and services run in the C locale: answering it without
    // setlocale spares the report the look-ups of the locale files.
    if (IsCLocale(ResolvedName(numericName, "LC_NUMERIC")) &&
        IsCLocale(ResolvedName(timeName, "LC_TIME")))
        return ItemsFromLanginfo(CLocaleTexts());
    const CategoryLocale numeric(LC_NUMERIC, numericName);
    const CategoryLocale time(LC_TIME, timeName);
    LanginfoTexts texts;
    texts.thousandsSeparator = ::nl_langinfo(THOUSEP);
    texts.dateFormat = ::nl_langinfo(D_FMT);
    texts.timeFormat = ::nl_langinfo(T_FMT);
    texts.timeFormatAmPm = ::nl_langinfo(T_FMT_AMPM);
    texts.am = ::nl_langinfo(AM_STR);
    texts.pm = ::nl_langinfo(PM_STR);
    return ItemsFromLanginfo(texts);
}

// "" resolves each category from LC_ALL, LC_NUMERIC or LC_TIME, and LANG.
LocaleItems QueryLocaleItems() {
    return LocaleItemsNamed("", "");
}

std::size_t LocaleTextCharacters() {
    return kMostLocaleTextCharacters;
}

// The language catalogue and the settings file are UTF-8, whatever the locale.
bool TextIsUtf8() {
    return true;
}

}  // namespace qv
