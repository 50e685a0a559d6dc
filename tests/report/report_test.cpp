#include "report/report.h"

#include <gtest/gtest.h>

#include "report/uptime.h"
#include "support/fake_source.h"
#include "support/utf8.h"

namespace qv {
namespace {

using test::FakeSource;

CountryInfo EnglishLocale() {
    LocaleItems items{"0", "0", ",", "/", ":", "AM", "PM"};
    return CountryInfo(items);
}

TEST(ValueLine, ValueEndsInColumn79) {
    const std::string line = ValueLine("Label", "123K");
    EXPECT_EQ(line.size(), 80u);
    EXPECT_EQ(line.substr(75), "123K\n");
}

TEST(ValueLine, LabelOf22AndValueOf9Have48SpacesBetween) {
    EXPECT_EQ(ValueLine(std::string(22, 'L'), std::string(9, 'v')),
              std::string(22, 'L') + std::string(48, ' ') + std::string(9, 'v') + "\n");
}

TEST(ValueLine, EmptyLabelStillEndsInColumn79) {
    EXPECT_EQ(ValueLine("", "5 "), std::string(77, ' ') + "5 \n");
}

TEST(ValueLine, OvershootIsPrintedAsThatManySpaces) {
    // 70 + 12 = 82 columns: the width is -3, printed as three spaces.
    EXPECT_EQ(ValueLine(std::string(70, 'L'), std::string(12, 'v')),
              std::string(70, 'L') + "   " + std::string(12, 'v') + "\n");
}

TEST(ValueLine, CountsDisplayColumnsNotBytes) {
    REQUIRE_UTF8_TEXTS();
    // "Freier Arbeitsspeicher für Größe" has 32 characters in 35 bytes.
    const std::string label = "Freier Arbeitsspeicher f\u00fcr Gr\u00f6\u00dfe";
    const std::string line = ValueLine(label, "1G");
    EXPECT_EQ(line.size() - 1 - (label.size() - 32), 79u);
    // Wide characters take two columns each.
    const std::string wide = "\u7a7a\u304d\u30e1\u30e2\u30ea";  // five wide characters
    EXPECT_EQ(ValueLine(wide, "1G"), wide + std::string(79 - 10 - 2, ' ') + "1G\n");
}

TEST(CentredLine, CentresOnColumn40) {
    struct {
        std::size_t length;
        std::size_t spaces;
    } cases[] = {{0, 40}, {1, 40}, {2, 39}, {28, 26}, {29, 26},    // odd: 40 - (n - 1) / 2
                 {80, 0}, {81, 0}, {82, 1}, {83, 1},  {100, 10}};  // past 81: the overshoot
    for (const auto& c : cases) {
        const std::string text(c.length, 'd');
        EXPECT_EQ(CentredLine(text), std::string(c.spaces, ' ') + text + "\n") << c.length;
    }
}

struct UptimeCase {
    friend void PrintTo(const UptimeCase& c, std::ostream* out) { *out << c.milliseconds << " ms"; }

    std::uint64_t milliseconds;
    BOOL showSeconds;
    const char* expected;
};

class UptimeTest : public ::testing::TestWithParam<UptimeCase> {};

TEST_P(UptimeTest, FormatsDaysHoursMinutesSeconds) {
    const UptimeCase& c = GetParam();
    EXPECT_EQ(FormatUptime(c.milliseconds, ":", c.showSeconds, "day", "days"), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UptimeTest,
    ::testing::Values(UptimeCase{7 * 60000, FALSE, "0:07"}, UptimeCase{86399999, TRUE, "23:59:59"},
                      UptimeCase{86400000, FALSE, "1 day, 0:00"},
                      UptimeCase{2 * 86400000ULL + 3600000, TRUE, "2 days, 1:00:00"},
                      // Seconds are dropped, not rounded into the minutes.
                      UptimeCase{59999, FALSE, "0:00"},
                      // 2^32 ms (49 days and a bit): no wrap to 0 in 64 bits.
                      UptimeCase{4294967296ULL, TRUE, "49 days, 17:02:47"},
                      // Ten years.
                      UptimeCase{3650ULL * 86400000, FALSE, "3650 days, 0:00"}));

TEST(UptimeSeparator, UsesTheLocaleSeparatorWhole) {
    EXPECT_EQ(FormatUptime(3723000, "h", TRUE, "", ""), "1h02h03");
}

TEST(UptimeDayWords, MissingWordStillLeavesCountSpaceCommaSpace) {
    EXPECT_EQ(FormatUptime(86400000, ":", FALSE, "", ""), "1 , 0:00");
}

class ReportTest : public ::testing::Test {
  protected:
    FakeSource source;
    CountryInfo locale = EnglishLocale();
    ReportSettings settings;
};

TEST_F(ReportTest, OpensWithTheDateInTheSettingsFormatCentred) {
    settings.DateFormat = "%A %B";
    source.Date = "Dienstag, 3. Juli 2001";  // 22 characters
    const std::string report = Report(source, locale, settings).Text();
    EXPECT_EQ(source.DateFormatAsked, "%A %B");
    EXPECT_EQ(report.substr(0, report.find('\n') + 1),
              std::string(29, ' ') + "Dienstag, 3. Juli 2001\n");
}

TEST_F(ReportTest, FirstLinesInOrderWithTheirLayout) {
    source.Milliseconds = 3 * 86400000ULL + 4 * 3600000 + 5 * 60000;
    source.Memory.availPhys = 24ULL << 30;
    source.Memory.availPageFile = 2ULL << 30;
    const std::string expected = CentredLine(source.Date) + "Time since system start" +
                                 std::string(79 - 23 - 12, ' ') + "3 days, 4:05\n" +
                                 "Free physical memory" + std::string(79 - 20 - 3, ' ') + "24G\n" +
                                 "Free virtual memory" + std::string(79 - 19 - 3, ' ') + "26G\n";
    EXPECT_EQ(Report(source, locale, settings).Text().substr(0, expected.size()), expected);
}

TEST_F(ReportTest, UnitSettingsReachEveryMemoryLine) {
    settings.units.ShowK = 0;
    source.Memory.availPhys = 1234567;
    source.Memory.availPageFile = 1;
    Report report(source, locale, settings);
    EXPECT_EQ(report.PhysicalMemoryLine(),
              "Free physical memory" + std::string(79 - 20 - 10, ' ') + "1,234,567 \n");
    EXPECT_EQ(report.VirtualMemoryLine(),
              "Free virtual memory" + std::string(79 - 19 - 10, ' ') + "1,234,568 \n");
}

TEST_F(ReportTest, MissingLabelLeavesTheValueInPlace) {
    source.Strings.erase(15);
    source.Memory.availPhys = 1 << 20;
    EXPECT_EQ(Report(source, locale, settings).PhysicalMemoryLine(),
              std::string(79 - 6, ' ') + "1,024K\n");
}

TEST_F(ReportTest, ShowSecondsAddsTheSecondsToTheUptime) {
    settings.ShowSeconds = TRUE;
    source.Milliseconds = 61000;
    EXPECT_EQ(Report(source, locale, settings).UptimeLine(),
              "Time since system start" + std::string(79 - 23 - 7, ' ') + "0:01:01\n");
}

}  // namespace
}  // namespace qv
