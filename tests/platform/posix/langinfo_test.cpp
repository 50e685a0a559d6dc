#include "platform/posix/langinfo.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include "platform/posix/locale.h"

namespace qv {

void PrintTo(const LocaleItems& i, std::ostream* out) {
    *out << '{' << i.dateOrder << '|' << i.clock << '|' << i.thousandsSeparator << '|'
         << i.dateSeparator << '|' << i.timeSeparator << '|' << i.am << '|' << i.pm << '}';
}

namespace {

struct Case {
    const char* name;
    LanginfoTexts texts;
    LocaleItems expected;
};

// The texts the C library gives for these locales.
const Case kCases[] = {
    {"C",
     {"%m/%d/%y", "%H:%M:%S", "%I:%M:%S %p", "", "AM", "PM"},
     {"0", "1", "", "/", ":", "AM", "PM"}},
    {"en_US",
     {"%m/%d/%Y", "%r", "%I:%M:%S %p", ",", "AM", "PM"},
     {"0", "0", ",", "/", ":", "AM", "PM"}},
    {"de_DE", {"%d.%m.%Y", "%T", "", ".", "", ""}, {"1", "1", ".", ".", ":", "", ""}},
    {"sv_SE",
     {"%Y-%m-%d", "%H:%M:%S", "", "\u202F", "", ""},
     {"2", "1", "\u202F", "-", ":", "", ""}},
    {"fi_FI",
     {"%d.%m.%Y", "%H.%M.%S", "", "\u00a0", "", ""},
     {"1", "1", "\u00a0", ".", ".", "", ""}},
    {"composite %D and %r with its own form",
     {"%D", "%r", "%l.%M.%S %p", ",", "am", "pm"},
     {"0", "0", ",", "/", ".", "am", "pm"}},
    {"modifiers", {"%Ey/%Om/%Od", "%OH:%OM", "", "", "", ""}, {"2", "1", "", "/", ":", "", ""}},
    {"empty", {"", "", "", "", "", ""}, {"0", "1", "", "", "", "", ""}},
    {"trailing percent", {"%d.%", "%H%", "", "", "", ""}, {"1", "1", "", ".%", "%", "", ""}},
};

TEST(ItemsFromLanginfo, DerivesOrderClockAndSeparators) {
    for (const Case& c : kCases) EXPECT_EQ(ItemsFromLanginfo(c.texts), c.expected) << c.name;
}

// The locales that the build generates for the tests.
class ItemsOfNamedLocales : public ::testing::Test {
  protected:
    void SetUp() override { ::setenv("LOCPATH", TEST_LOCALES, 1); }
};

TEST_F(ItemsOfNamedLocales, ReadsRealLocales) {
    EXPECT_EQ(qv::LocaleItemsNamed("de_DE.UTF-8", "de_DE.UTF-8"),
              (LocaleItems{"1", "1", ".", ".", ":", "", ""}));
    EXPECT_EQ(qv::LocaleItemsNamed("en_US.UTF-8", "en_US.UTF-8"),
              (LocaleItems{"0", "0", ",", "/", ":", "AM", "PM"}));
}

TEST_F(ItemsOfNamedLocales, CategoriesAreResolvedSeparately) {
    EXPECT_EQ(qv::LocaleItemsNamed("de_DE.UTF-8", "C"),
              (LocaleItems{"0", "1", ".", "/", ":", "AM", "PM"}));
}

// The C locale in UTF-8 is answered without loading it: the items are C's.
TEST_F(ItemsOfNamedLocales, TheCLocaleInUtf8HasTheItemsOfC) {
    const LocaleItems c{"0", "1", "", "/", ":", "AM", "PM"};
    EXPECT_EQ(qv::LocaleItemsNamed("C.UTF-8", "C.utf8"), c);
    EXPECT_EQ(qv::LocaleItemsNamed("POSIX", "C"), c);
}

// Garbage in the locale variables must not leave the report without its
// separators: the C locale stands in.
TEST_F(ItemsOfNamedLocales, UnknownNamesGiveTheCLocale) {
    EXPECT_EQ(qv::LocaleItemsNamed("xx_NOWHERE.garbage", "\x01\x02"),
              (LocaleItems{"0", "1", "", "/", ":", "AM", "PM"}));
}

}  // namespace
}  // namespace qv
