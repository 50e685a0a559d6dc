#include "platform/posix/langinfo.h"

#include <gtest/gtest.h>
#include <stdlib.h>

namespace qv {
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
    {"ja_JP",
     {"%Y\u5e74%m\u6708%d\u65e5", "%H\u6642%M\u5206%S\u79d2", "%p%I\u6642%M\u5206%S\u79d2", ",",
      "\u5348\u524d", "\u5348\u5f8c"},
     {"2", "1", ",", "\u5e74", "\u6642", "\u5348\u524d", "\u5348\u5f8c"}},
    {"composite %D and %r with its own form",
     {"%D", "%r", "%l.%M.%S %p", ",", "am", "pm"},
     {"0", "0", ",", "/", ".", "am", "pm"}},
    {"modifiers", {"%Ey/%Om/%Od", "%OH:%OM", "", "", "", ""}, {"2", "1", "", "/", ":", "", ""}},
    {"empty", {"", "", "", "", "", ""}, {"0", "1", "", "", "", "", ""}},
    {"trailing percent", {"%d.%", "%H%", "", "", "", ""}, {"1", "1", "", ".%", "%", "", ""}},
};

TEST(ItemsFromLanginfo, DerivesOrderClockAndSeparators) {
    for (const Case& c : kCases) {
        const LocaleItems items = ItemsFromLanginfo(c.texts);
        SCOPED_TRACE(c.name);
        EXPECT_EQ(items.dateOrder, c.expected.dateOrder);
        EXPECT_EQ(items.clock, c.expected.clock);
        EXPECT_EQ(items.thousandsSeparator, c.expected.thousandsSeparator);
        EXPECT_EQ(items.dateSeparator, c.expected.dateSeparator);
        EXPECT_EQ(items.timeSeparator, c.expected.timeSeparator);
        EXPECT_EQ(items.am, c.expected.am);
        EXPECT_EQ(items.pm, c.expected.pm);
    }
}

// The locales that the build generates for the tests.
class LocaleItemsNamed : public ::testing::Test {
  protected:
    void SetUp() override { ::setenv("LOCPATH", BUILD_DIR "/locales", 1); }
};

TEST_F(LocaleItemsNamed, ReadsRealLocales) {
    const LocaleItems german = qv::LocaleItemsNamed("de_DE.UTF-8", "de_DE.UTF-8");
    EXPECT_EQ(german.dateOrder, "1");
    EXPECT_EQ(german.clock, "1");
    EXPECT_EQ(german.thousandsSeparator, ".");
    EXPECT_EQ(german.dateSeparator, ".");
    EXPECT_EQ(german.timeSeparator, ":");

    const LocaleItems american = qv::LocaleItemsNamed("en_US.UTF-8", "en_US.UTF-8");
    EXPECT_EQ(american.dateOrder, "0");
    EXPECT_EQ(american.clock, "0");
    EXPECT_EQ(american.thousandsSeparator, ",");
    EXPECT_EQ(american.am, "AM");
    EXPECT_EQ(american.pm, "PM");
}

TEST_F(LocaleItemsNamed, CategoriesAreResolvedSeparately) {
    const LocaleItems mixed = qv::LocaleItemsNamed("de_DE.UTF-8", "C");
    EXPECT_EQ(mixed.thousandsSeparator, ".");
    EXPECT_EQ(mixed.dateOrder, "0");
    EXPECT_EQ(mixed.dateSeparator, "/");
}

TEST_F(LocaleItemsNamed, UnknownNamesGiveTheCLocale) {
    const LocaleItems items = qv::LocaleItemsNamed("xx_NOWHERE.garbage", "\x01\x02");
    EXPECT_EQ(items.dateOrder, "0");
    EXPECT_EQ(items.clock, "1");
    EXPECT_EQ(items.thousandsSeparator, "");
    EXPECT_EQ(items.dateSeparator, "/");
    EXPECT_EQ(items.timeSeparator, ":");
}

}  // namespace
}  // namespace qv
