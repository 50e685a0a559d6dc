#include "platform/locale.h"

#include <langinfo.h>
#include <locale.h>

#include <string>

#include "platform/posix/langinfo.h"

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

}  // namespace

LocaleItems LocaleItemsNamed(const char* numericName, const char* timeName) {
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

// The language catalogue and the settings file are UTF-8, whatever the locale.
bool TextIsUtf8() {
    return true;
}

}  // namespace qv
