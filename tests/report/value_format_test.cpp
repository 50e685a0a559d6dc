#include "report/value_format.h"

#include <gtest/gtest.h>

#include "support/utf8.h"

namespace qv {
namespace {

CountryInfo WithSeparator(const std::string& separator) {
    LocaleItems items;
    items.thousandsSeparator = separator;
    return CountryInfo(items);
}

struct Case {
    std::uint64_t value;
    int scale, showK, showTrueK, showM, showG;
    const char* expected;
};

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.value << " scale " << c.scale << " units " << c.showK << c.showTrueK << c.showM
         << c.showG;
}

class FormatValueTest : public ::testing::TestWithParam<Case> {};

TEST_P(FormatValueTest, FormatsFigureAndSuffix) {
    const Case& c = GetParam();
    const UnitSettings units{c.showK, c.showTrueK, c.showM, c.showG};
    EXPECT_EQ(FormatValue(c.value, WithSeparator(","), units, c.scale), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Examples, FormatValueTest,
                         ::testing::Values(Case{300000, 1, 1, 0, 1, 1, "300,000 "},
                                           Case{524287, 1, 1, 1, 1, 1, "524,287 "},
                                           Case{524288, 1, 1, 1, 1, 1, "512K"},
                                           Case{268435456, 1, 1, 1, 1, 1, "256M"},
                                           Case{1000000, 256, 1, 0, 1, 1, "256m"},
                                           Case{1234567, 1, 0, 1, 1, 1, "1,234,567 "},
                                           Case{1234567, 1, 2, 1, 0, 0, "1,206K"},
                                           Case{4100000000, 1, 1, 0, 1, 1, "4g"}));

INSTANTIATE_TEST_SUITE_P(
    Edges, FormatValueTest,
    ::testing::Values(
        // Zero: bytes in modes 0 and 1, K in mode 2.
        Case{0, 1, 0, 1, 1, 1, "0 "}, Case{0, 1, 1, 1, 1, 1, "0 "}, Case{0, 1, 2, 1, 1, 1, "0K"},
        Case{0, 1, 2, 0, 1, 1, "0k"},
        // At a break the larger unit is used; one below it is not.
        Case{500000, 1, 1, 0, 1, 1, "500k"}, Case{499999, 1, 1, 0, 1, 1, "499,999 "},
        Case{8388608, 1, 1, 1, 1, 1, "8M"}, Case{8388607, 1, 1, 1, 1, 1, "8,192K"},
        // The rounding sum never wraps.
        Case{4294967295u, 1, 2, 1, 0, 0, "4,194,304K"},
        // Binary G starts at 4 GiB; decimal g at 4,000,000,000 bytes.
        Case{4294967295u, 1, 1, 1, 1, 1, "4,096M"}, Case{4000000000u, 1, 1, 0, 1, 1, "4g"},
        // G only through M.
        Case{4294967296ULL * 3, 1, 1, 1, 0, 1, "12,582,912K"},
        // Halves round up.
        Case{1536, 1, 2, 1, 1, 1, "2K"}, Case{1535, 1, 2, 1, 1, 1, "1K"},
        // Disk units of 256 bytes: breaks scaled down with the value.
        Case{2047, 256, 1, 1, 1, 1, "524,032 "}, Case{2048, 256, 1, 1, 1, 1, "512K"},
        Case{1952, 256, 1, 0, 1, 1, "499,712 "}, Case{1953, 256, 1, 0, 1, 1, "500k"},
        // A thirteen-digit byte count gets four separators.
        Case{4000000000u, 256, 0, 1, 1, 1, "1,024,000,000,000 "}));

INSTANTIATE_TEST_SUITE_P(SixtyFourBits, FormatValueTest,
                         ::testing::Values(
                             // 24 GiB of memory is 24 G, not wrapped to 0.
                             Case{24ULL << 30, 1, 1, 1, 1, 1, "24G"},
                             // A 16 TiB disk in 256-byte units.
                             Case{(16ULL << 40) / 256, 256, 1, 1, 1, 1, "16,384G"},
                             // The product with the scale saturates instead of wrapping.
                             Case{~0ULL, 256, 0, 1, 1, 1, "18,446,744,073,709,551,615 "},
                             Case{~0ULL, 1, 1, 1, 1, 1, "17,179,869,184G"}));

TEST(FormatValueSeparator, OnlyTheFirstCharacterOfTheSeparatorIsUsed) {
    const UnitSettings bytes{0, 1, 1, 1};
    EXPECT_EQ(FormatValue(1234567, WithSeparator("'."), bytes, 1), "1'234'567 ");
    EXPECT_EQ(FormatValue(1234567, WithSeparator(""), bytes, 1), "1234567 ");
    EXPECT_EQ(FormatValue(123, WithSeparator(","), bytes, 1), "123 ");
}

TEST(FormatValueSeparator, ASeparatorOfSeveralBytesStaysWhole) {
    REQUIRE_UTF8_TEXTS();
    // A narrow no-break space is one character of three bytes.
    EXPECT_EQ(FormatValue(1234567, WithSeparator("\u202F"), UnitSettings{0, 1, 1, 1}, 1),
              "1\u202F234\u202F567 ");
}

}  // namespace
}  // namespace qv
