#include "locale/country.h"

#include <gtest/gtest.h>

#include <climits>

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

TEST(CountryInfo, EmptyItemsGiveEmptyTextsAndZero) {
    const CountryInfo info(LocaleItems{});
    EXPECT_EQ(info.fsDateFmt, 0);
    EXPECT_EQ(info.fsTimeFmt, 0);
    EXPECT_STREQ(info.szDateSeparator, "");
    EXPECT_STREQ(info.szAm, "");
}

}  // namespace
}  // namespace qv
