// Golden tests of the whole report through a source of fixed facts: the swap,
// process and volume lines in their places, with the layout of every line.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "report/report.h"
#include "report/volume_label.h"
#include "support/fake_source.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

using test::FakeSource;

CountryInfo TestLocale() {
    LocaleItems items;
    items.dateOrder = "0";
    items.clock = "1";
    items.thousandsSeparator = ",";
    items.dateSeparator = "/";
    items.timeSeparator = ":";
    return CountryInfo(items);
}

// Values in bytes, so that every figure is exact.
ReportSettings BytesOnly() {
    ReportSettings settings;
    settings.units.ShowK = 0;
    return settings;
}

std::string Line(const std::string& label, const std::string& value) {
    return label + std::string(79 - label.size() - value.size(), ' ') + value + "\n";
}

class VolumeReport : public ::testing::Test {
  protected:
    std::string Write() {
        Report report(Source, Locale, Settings);
        return report.Text();
    }

    FakeSource Source;
    CountryInfo Locale = TestLocale();
    ReportSettings Settings = BytesOnly();
    test::TempDir Home;
    test::HomeAt HomeForLog{Home.path().string()};
};

TEST_F(VolumeReport, WholeReportInItsOrder) {
    Source.Volumes = {
        {"/", "ext4", "root", kFixedDrive, 256000},
        {"/run", "tmpfs", "", kNetworkOrRamDrive, 2560},
        {"/home", "xfs", "", kFixedDrive, 1000},  // 3 whole units and 232 bytes
    };
    const std::string expected =
        std::string(40 - 28 / 2, ' ') + "Tue, 07/03/01 02:05:09PM UTC\n" +
        Line("Time since system start", "1 day, 1:01") + Line("Free physical memory", "1,000 ") +
        Line("Free virtual memory", "1,500 ") + Line("Swap file (/swapfile)", "2,048 ") +
        // 3000 - 2048 + 500
        Line("Free swap space", "1,452 ") + Line("Swap slack", "500 ") +
        Line("Number of processes", "123 ") +
        // (1000 + 3) units of 256 bytes, the RAM volume not counted
        Line("Free space on all local volumes", "256,768 ") +
        Line("Free space on / (root,ext4)", "256,000 ") +
        Line("Free space on /run (tmpfs)", "2,560 ") + Line("Free space on /home (xfs)", "768 ");
    EXPECT_EQ(Write(), expected);
}

TEST_F(VolumeReport, DriveLettersTakeTheirOwnFormat) {
    Source.Conversion = 'c';
    Source.Strings[28] = "Free space on drive %c:";
    Source.Volumes = {{"C", "NTFS", "SYSTEM", kFixedDrive, 25600},
                      {"N", "", "", kNetworkOrRamDrive, 512}};
    EXPECT_TRUE(Write().ends_with(Line("Free space on all local volumes", "25,600 ") +
                                  Line("Free space on drive C: (SYSTEM,NTFS)", "25,600 ") +
                                  Line("Free space on drive N:", "512 ")));
}

TEST_F(VolumeReport, NoSwapNoVolumesStillWritesEveryLine) {
    Source.Swap = {};
    Source.Memory = {0, 0, 0};
    Source.Processes = 0;
    const std::string report = Write();
    EXPECT_NE(report.find(Line("Swap file ()", "0 ")), std::string::npos);
    EXPECT_NE(report.find(Line("Number of processes", "0 ")), std::string::npos);
    EXPECT_TRUE(report.ends_with(Line("Free space on all local volumes", "0 ")));
}

TEST_F(VolumeReport, SwapLinesReadTheMemoryStatusEachTime) {
    Write();
    EXPECT_EQ(Source.MemoryQueries, 4);  // two memory lines, free swap, swap slack
}

// Linux counts every swap area in SwapTotal and SwapFree: two areas of 48M
// and 96M, both unused, once showed 240M free of 144M by the classic formula.
TEST_F(VolumeReport, FreeSwapOfEveryAreaNeverExceedsTheirTotal) {
    Source.SwapFreeIsStoreFree = true;
    Source.Swap = {"/swap1", 48 << 20};
    struct {
        std::uint64_t total, free;
        const char* shown;
    } cases[] = {{144 << 20, 144 << 20, "150,994,944 "},  // every area free
                 {144 << 20, 100 << 20, "104,857,600 "},
                 {0, 0, "0 "}};
    for (const auto& c : cases) {
        Source.Memory = {1000, c.total, c.free};
        EXPECT_NE(Write().find(Line("Free swap space", c.shown)), std::string::npos) << c.shown;
    }
}

TEST_F(VolumeReport, LongMountPointIsNeverCut) {
    const std::string deep = "/" + std::string(120, 'm');
    Source.Volumes = {{deep, "ext4", "", kFixedDrive, 512}};
    Settings.ShowFileSystemNames = FALSE;
    const std::string label = "Free space on " + deep;
    // 79 - 135 - 4 = -60: as many spaces as the overshoot.
    EXPECT_TRUE(Write().ends_with(label + std::string(60, ' ') + "512 \n"));
}

TEST_F(VolumeReport, LongSwapPathTakesTheOvershootInSpaces) {
    Source.Swap = {"/" + std::string(80, 's'), 0};
    const std::string labelPart = "Swap file (" + Source.Swap.Path + ")";
    // 79 - 93 - 2 = -16
    EXPECT_NE(Write().find(labelPart + std::string(16, ' ') + "0 \n"), std::string::npos);
}

TEST_F(VolumeReport, ControlCharactersInNamesKeepOneLinePerVolume) {
    Source.Volumes = {{"/mnt/a\nb", "ext4", "my\tdisk", kFixedDrive, 256}};
    EXPECT_TRUE(Write().ends_with(Line("Free space on /mnt/a?b (my?disk,ext4)", "256 ")));
}

TEST_F(VolumeReport, MissingVolumeLabelStringLeavesOnlyTheAnnotations) {
    Source.Strings.erase(28);
    Source.Volumes = {{"/", "ext4", "root", kFixedDrive, 256}, {"/srv", "", "", kFixedDrive, 256}};
    const std::string report = Write();
    EXPECT_TRUE(report.ends_with(Line(" (root,ext4)", "256 ") + Line("", "256 ")));
    EXPECT_EQ(test::ReadFile(Home / "QUORVANT.LOG").find("volume label"), std::string::npos);
}

class MalformedVolumeLabel : public VolumeReport,
                             public ::testing::WithParamInterface<const char*> {};

TEST_P(MalformedVolumeLabel, IsShownAsPlainTextAndLogged) {
    Source.Strings[28] = GetParam();
    Source.Volumes = {{"/", "ext4", "", kFixedDrive, 256}, {"/b", "xfs", "", kFixedDrive, 256}};
    Settings.ShowFileSystemNames = FALSE;
    const std::string report = Write();
    EXPECT_TRUE(report.ends_with(Line(GetParam(), "256 ") + Line(GetParam(), "256 "))) << report;
    const std::string log = test::ReadFile(Home / "QUORVANT.LOG");
    EXPECT_NE(log.find("volume label"), std::string::npos);
    EXPECT_EQ(log.find("volume label"), log.rfind("volume label")) << "logged once, not per line";
}

INSTANTIATE_TEST_SUITE_P(Formats, MalformedVolumeLabel,
                         ::testing::Values("%s%s%n", "%999999d", "Free space on %c:", "Free space",
                                           "%s and %", "%-5s", "%n"));

TEST(VolumeLabelFormat, AcceptsExactlyOneConversionOfTheExpectedKind) {
    struct Case {
        const char* format;
        char conversion;
        bool usable;
    };
    const Case cases[] = {
        {"Free space on %s", 's', true},
        {"Free space on drive %c:", 'c', true},
        {"100%% of %s", 's', true},
        {"%s%%", 's', true},
        {"Free space on %s", 'c', false},
        {"Free space on drive %c:", 's', false},
        {"%s %s", 's', false},
        {"plain", 's', false},
        {"", 's', false},
        {"%s%", 's', false},
        {"%ls", 's', false},
        {"%5s", 's', false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsVolumeLabelFormat(c.format, c.conversion), c.usable) << c.format;
}

TEST(VolumeLabelFormat, PutsTheNameInForItsConversion) {
    EXPECT_EQ(VolumeLabel("Free space on drive %c:", 'c', "C"), "Free space on drive C:");
    EXPECT_EQ(VolumeLabel("100%% of %s", 's', "/mnt/100%s"), "100% of /mnt/100%s");
    EXPECT_EQ(VolumeLabel("%s%s%n", 's', "/"), "%s%s%n");
}

TEST(AnnotatedVolumeLabel, FourFormsAsTheSettingsAndTextsAllow) {
    struct Case {
        const char* diskLabel;
        const char* fileSystem;
        BOOL showLabel;
        BOOL showFileSystem;
        const char* expected;
    };
    const Case cases[] = {
        {"DATA", "ext4", TRUE, TRUE, "L (DATA,ext4)"},
        {"DATA", "ext4", FALSE, TRUE, "L (ext4)"},
        {"DATA", "ext4", TRUE, FALSE, "L (DATA)"},
        {"DATA", "ext4", FALSE, FALSE, "L"},
        {"", "ext4", TRUE, TRUE, "L (ext4)"},
        {"DATA", "", TRUE, TRUE, "L (DATA)"},
        {"", "", TRUE, TRUE, "L"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(
            AnnotatedVolumeLabel("L", c.diskLabel, c.fileSystem, c.showLabel, c.showFileSystem),
            c.expected);
}

TEST(SwapFree, TotalLessFirstFilePlusFreeNeverBelowZero) {
    EXPECT_EQ(SwapFree(3000, 2048, 500), 1452u);
    EXPECT_EQ(SwapFree(3000, 0, 500), 3500u);  // no file measured
    EXPECT_EQ(SwapFree(1000, 800, 900), 1100u);
    EXPECT_EQ(SwapFree(6ULL << 32, 5ULL << 32, 1ULL << 32), 2ULL << 32);  // past 32 bits
    EXPECT_EQ(SwapFree(100, 4096, 0), 0u);  // figures of different moments
}

}  // namespace
}  // namespace qv
