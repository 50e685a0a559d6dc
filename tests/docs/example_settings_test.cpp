// The example settings file users get (doc/QUORVANT.INI.example) holds every
// key of the record at its default, with American English's date format: a
// copy of it changes nothing and logs nothing. Each setting that changes the
// report, changed alone in a copy, has the effect the example's own comments
// promise, and none before the change.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "report/record_settings.h"
#include "report/report.h"
#include "settings/inidata.h"
#include "settings/store_fixture.h"
#include "support/fake_source.h"
#include "support/units.h"

namespace qv {
namespace {

using test::SettingsBytes;
using test::SettingsStore;
using Strings = std::vector<std::string>;

std::string Example() {
    return test::ReadFile(SOURCE_DIR "/doc/QUORVANT.INI.example");
}

TEST_F(SettingsStore, ExampleHoldsEveryKeyAtItsDefault) {
    const std::string example = Example();
    WriteSettings(example);
    const CountryInfo american(LocaleItems{"0", "0", ",", "/", ":", "AM", "PM"});
    INIDATA record;
    EXPECT_EQ(Open()->GetIniData(&record), 0);
    EXPECT_EQ(LogText(), "");
    EXPECT_EQ(SettingsBytes(record), SettingsBytes(INIDATA(american)));
    EXPECT_EQ(test::ReadFile(File), example) << "no key was removed";
}

// The keys the example sets, sorted.
Strings ExampleKeys() {
    Strings keys;
    std::istringstream lines(Example());
    for (std::string line; std::getline(lines, line);) {
        const std::size_t equals = line.find('=');
        if (!line.empty() && line[0] != ';' && equals != std::string::npos)
            keys.push_back(line.substr(0, equals));
    }
    std::sort(keys.begin(), keys.end());
    return keys;
}

TEST_F(SettingsStore, EachKeyOfTheExampleIsLoggedOnceWhenTheSectionIsEmpty) {
    WriteSettings("[QUORVANT]\n");
    INIDATA record;
    EXPECT_EQ(Open()->GetIniData(&record), 0);
    Strings logged = WrongSizeItems();
    std::sort(logged.begin(), logged.end());
    EXPECT_EQ(logged, ExampleKeys());
}

using test::kGiB;
using test::kMiB;

struct ExampleEdit {
    const char* what;
    const char* line;         // a line of the example
    const char* changedLine;  // what the user writes instead
    std::uint64_t freeMemory;
    std::string (Report::*part)();
    const char* before;  // shown with the example as it is, not after the change
    const char* after;   // shown after the change, not before
};

class ExampleSettingsEdit : public test::SettingsStore,
                            public ::testing::WithParamInterface<ExampleEdit> {
  protected:
    // The part of the report made with the settings of this text; the thousands
    // separators are left out, as the example's comments write numbers.
    std::string Shown(const std::string& settingsText) {
        WriteSettings(settingsText);
        INIDATA record;
        Open()->GetIniData(&record);
        const ReportSettings settings = ReportSettingsFrom(record);
        Source.Memory.availPhys = GetParam().freeMemory;
        Report report(Source, kAmerican, settings);
        std::string shown = (report.*GetParam().part)();
        shown.erase(std::remove(shown.begin(), shown.end(), ','), shown.end());
        return shown;
    }

    const CountryInfo kAmerican{LocaleItems{"0", "0", ",", "/", ":", "AM", "PM"}};
    test::FakeSource Source;
};

TEST_P(ExampleSettingsEdit, HasTheEffectTheExampleDescribes) {
    const ExampleEdit& c = GetParam();
    const std::string example = Example();
    const std::size_t at = example.find(std::string("\n") + c.line + "\n");
    ASSERT_NE(at, std::string::npos) << c.line << " is not a line of the example";
    std::string changed = example;
    changed.replace(at + 1, std::string(c.line).size(), c.changedLine);
    Source.Volumes = {{"/home", "ext4", "home", kFixedDrive, 100 * kMiB}};

    const std::string before = Shown(example);
    const std::string after = Shown(changed);
    EXPECT_NE(before.find(c.before), std::string::npos) << c.what << ":\n" << before;
    EXPECT_EQ(after.find(c.before), std::string::npos) << c.what << ":\n" << after;
    EXPECT_NE(after.find(c.after), std::string::npos) << c.what << ":\n" << after;
    EXPECT_EQ(before.find(c.after), std::string::npos) << c.what << ":\n" << before;
}

// The fake source's uptime is 1 day, 1:01:01.
INSTANTIATE_TEST_SUITE_P(
    Keys, ExampleSettingsEdit,
    ::testing::Values(
        ExampleEdit{"the uptime shows seconds", "ShowSeconds=00000000", "ShowSeconds=01000000",
                    kGiB, &Report::UptimeLine, "1 day 1:01\n", "1 day 1:01:01\n"},
        ExampleEdit{"sizes always in bytes", "ShowK=0100", "ShowK=0000", 23962570752ULL,
                    &Report::PhysicalMemoryLine, " 22G\n", " 23962570752 \n"},
        ExampleEdit{"always in K or larger", "ShowK=0100", "ShowK=0200", 300 * 1024ULL,
                    &Report::PhysicalMemoryLine, " 307200 \n", " 300K\n"},
        ExampleEdit{"decimal units in lower case", "ShowTrueK=0100", "ShowTrueK=0000",
                    24000000000ULL, &Report::PhysicalMemoryLine, " 22G\n", " 24g\n"},
        ExampleEdit{"never in M", "ShowM=0100", "ShowM=0000", 100 * kMiB,
                    &Report::PhysicalMemoryLine, " 100M\n", " 102400K\n"},
        ExampleEdit{"never in G", "ShowG=0100", "ShowG=0000", 24 * kGiB,
                    &Report::PhysicalMemoryLine, " 24G\n", " 24576M\n"},
        ExampleEdit{"no volume label", "ShowDiskLabels=01000000", "ShowDiskLabels=00000000", kGiB,
                    &Report::VolumeLines, "/home (home", "/home (ext4)"},
        ExampleEdit{"no file system", "ShowFileSystemNames=01000000",
                    "ShowFileSystemNames=00000000", kGiB, &Report::VolumeLines, "ext4)",
                    "/home (home)"}));

// The user deletes the example's date format and uncomments the other one.
TEST_F(SettingsStore, TheExamplesOtherDateFormatIsTheOneAsked) {
    std::string changed = Example();
    const std::size_t first = changed.find("\nDateFormat=");
    ASSERT_NE(first, std::string::npos);
    changed.erase(first + 1, changed.find('\n', first + 1) - first);
    const std::size_t other = changed.find("\n;DateFormat=");
    ASSERT_NE(other, std::string::npos);
    changed.erase(other + 1, 1);
    WriteSettings(changed);
    INIDATA record;
    Open()->GetIniData(&record);
    test::FakeSource source;
    const CountryInfo american(LocaleItems{"0", "0", ",", "/", ":", "AM", "PM"});
    const ReportSettings settings = ReportSettingsFrom(record);
    Report(source, american, settings).DateLine();
    // The format the example's comment gives for the commented line.
    EXPECT_EQ(source.DateFormatAsked, "%a, %d.%m.%y %H:%M:%S %z");
}

}  // namespace
}  // namespace qv
