// The README's sample is the report of a typical machine, made by the report
// code from fixed facts, so that it shows what the program prints.
#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "locale/datefmt.h"
#include "report/record_settings.h"
#include "report/report.h"
#include "settings/inidata.h"
#include "support/fake_source.h"
#include "support/temp_dir.h"
#include "support/units.h"

namespace qv {
namespace {

using test::kGiB;
using test::kMiB;

// Eight GiB of memory and a swap file of 2 GiB (as /proc/swaps gives it, in
// KiB), up for three days; American English and no settings file.
std::string TypicalReport() {
    const CountryInfo american(LocaleItems{"0", "0", ",", "/", ":", "AM", "PM"});
    const INIDATA defaults(american);
    const ReportSettings settings = ReportSettingsFrom(defaults);

    std::tm now{};  // Tuesday, 8 December 2026, 19:33:22
    now.tm_year = 126;
    now.tm_mon = 11;
    now.tm_mday = 8;
    now.tm_wday = 2;
    now.tm_hour = 19;
    now.tm_min = 33;
    now.tm_sec = 22;
    DateNames names;
    names.daysOfWeek = "SunMonTueWedThuFriSat";

    test::FakeSource source;
    source.Date = ExpandDate(settings.DateFormat, now, american, names, "UTC");
    source.Milliseconds = ((3 * 24 + 4) * 60 + 5) * 60000ULL + 9000;
    const std::uint64_t swapSize = 2097148 * 1024ULL;
    source.Memory = {3412 * kMiB, swapSize, 1728 * kMiB};
    source.Swap = {"/swap.img", swapSize};
    source.Processes = 231;
    source.Volumes = {
        {"/", "ext4", "", kFixedDrive, 87 * kGiB + 300 * kMiB},
        {"/run", "tmpfs", "", kNetworkOrRamDrive, 795 * kMiB},
        {"/dev/shm", "tmpfs", "", kNetworkOrRamDrive, 3942 * kMiB},
        {"/boot/efi", "vfat", "", kFixedDrive, 505 * kMiB},
        {"/home", "ext4", "home", kFixedDrive, 312 * kGiB + 700 * kMiB},
        {"/run/user/1000", "tmpfs", "", kNetworkOrRamDrive, 788 * kMiB},
    };
    return Report(source, american, settings).Text();
}

// The sample is the README's first code block.
std::string ReadmeSample() {
    const std::string readme = test::ReadFile(SOURCE_DIR "/README.md");
    const std::string fence = "```\n";
    const std::size_t begin = readme.find(fence) + fence.size();
    return readme.substr(begin, readme.find(fence, begin) - begin);
}

TEST(Readme, SampleIsTheReportOfATypicalMachine) {
    EXPECT_EQ(ReadmeSample(), TypicalReport());
}

}  // namespace
}  // namespace qv
