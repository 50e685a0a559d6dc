#include "locale/country.h"

#include <gtest/gtest.h>

#include <climits>

#include "support/utf8.h"

namespace qv {
namespace {

TEST(LeadingNumber, ReadsLikeAtoiWithoutOverflow) {
    struct {
        const char* text;
        std::int32_t value;
    } cases[] = {{"0", 0},
                 {"1", 1},
                 {"2", 2},
                 {" \t2x", 2},
                 {"-1", -1},
                 {"+3", 3},
                 {"", 0},
                 {"x1", 0},
                 {"-", 0},
                 {"99999999999", INT_MAX},
                 {"-99999999999", INT_MIN}};
    for (const auto& c : cases) EXPECT_EQ(LeadingNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST(CountryInfo, TakesTheItemsAndCutsLongTextsAtWholeCharacters) {
    LocaleItems items{"1", "1", ".", ".", ":", "", ""};
    items.am = "vormittags";  // ten characters: one too many
    const CountryInfo info(items);
    EXPECT_EQ(info.fsDateFmt, 1);
    EXPECT_EQ(info.fsTimeFmt, 1);
    EXPECT_STREQ(info.szThousandsSeparator, ".");
    EXPECT_STREQ(info.szTimeSeparator, ":");
    EXPECT_STREQ(info.szAm, "vormittag");
}

TEST(CountryInfo, NeverCutsALetterOfSeveralBytes) {
    REQUIRE_UTF8_TEXTS();
    LocaleItems items;
    items.pm = "\u00e4\u00e4\u00e4\u00e4\u00e4";  // ten bytes: the last letter goes whole
    EXPECT_STREQ(CountryInfo(items).szPm, "\u00e4\u00e4\u00e4\u00e4");
}

TEST(CountryInfo, EmptyItemsGiveEmptyTextsAndZero) {
    const CountryInfo info(LocaleItems{});
    EXPECT_EQ(info.fsDateFmt, 0);
    EXPECT_EQ(info.fsTimeFmt, 0);
    EXPECT_STREQ(info.szDateSeparator, "");
    EXPECT_STREQ(info.szAm, "");
}

}  // namespace
}  // namespace qv
