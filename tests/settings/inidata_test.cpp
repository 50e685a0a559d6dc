#include "settings/inidata.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "settings/store_fixture.h"

namespace qv {
namespace {

using test::SettingsBytes;
using test::SettingsStore;
using Strings = std::vector<std::string>;

CountryInfo LocaleOf(const char* order, const char* clock, const char* date, const char* time) {
    return CountryInfo(LocaleItems{order, clock, ",", date, time, "AM", "PM"});
}

TEST(DefaultDateFormat, FollowsTheLocalesOrderSeparatorsAndClock) {
    EXPECT_EQ(DefaultDateFormat(LocaleOf("0", "0", "/", ":")), "%a, %m/%d/%y %I:%M:%S%p %z");
    EXPECT_EQ(DefaultDateFormat(LocaleOf("1", "1", ".", ":")), "%a, %d.%m.%y %H:%M:%S %z");
    EXPECT_EQ(DefaultDateFormat(LocaleOf("2", "1", "-", ".")), "%a, %y-%m-%d %H.%M.%S %z");
    EXPECT_EQ(DefaultDateFormat(LocaleOf("3", "1", "-", ":")), "%a, %H:%M:%S %z");
    // Separators as long as a locale record keeps them: the default format
    // with both twice still fits the record whole.
    const char* date = "-/-/-/-/-/-/-/-/-/-/";
    const char* time = ".:.:.:.:.:.:.:.:.:.:";
    const CountryInfo locale = LocaleOf("0", "0", date, time);
    const std::string d = locale.szDateSeparator, t = locale.szTimeSeparator;
    EXPECT_GE(d.size(), 9u);
    const std::string longest = DefaultDateFormat(locale);
    EXPECT_EQ(longest, "%a, %m" + d + "%d" + d + "%y %I" + t + "%M" + t + "%S%p %z");
    INIDATA record(LocaleOf("0", "0", date, time));
    EXPECT_EQ(std::string(record.DateFormat), longest);
}

// An empty section logs every key of the record once and keeps the defaults.
// Which keys those are is checked against the example settings file users get.
TEST_F(SettingsStore, SectionWithoutKeysLogsEachKeyOnceAndKeepsDefaults) {
    WriteSettings("[QUORVANT]\n");
    INIDATA record;
    EXPECT_EQ(Open()->GetIniData(&record), 0);
    Strings logged = WrongSizeItems();
    ASSERT_FALSE(logged.empty());
    EXPECT_EQ(logged.front(), "Position") << "the window keys are read first";
    std::sort(logged.begin(), logged.end());
    EXPECT_EQ(std::adjacent_find(logged.begin(), logged.end()), logged.end());
    EXPECT_EQ(SettingsBytes(record), SettingsBytes(INIDATA()));
}

struct BadFile {
    const char* what;
    std::string text;
    Strings read;  // keys that were read; every other key is logged once
    BOOL showSeconds;
    USHORT showK;
};

class BadSettingsFile : public SettingsStore, public ::testing::WithParamInterface<BadFile> {
  protected:
    // Every key the record is read from, in the order it is read: what an
    // empty section logs. The log is emptied again.
    Strings AllKeys() {
        WriteSettings("[QUORVANT]\n");
        INIDATA record;
        Open()->GetIniData(&record);
        Strings keys = WrongSizeItems();
        std::filesystem::remove(LogDir / "QUORVANT.LOG");
        return keys;
    }

    Strings AllKeysBut(const Strings& read) {
        Strings keys;
        for (const std::string& key : AllKeys())
            if (std::find(read.begin(), read.end(), key) == read.end()) keys.push_back(key);
        return keys;
    }
};

TEST_P(BadSettingsFile, LogsEachBadKeyOnceKeepsItsDefaultAndReadsTheRest) {
    const BadFile& c = GetParam();
    const Strings notRead = AllKeysBut(c.read);
    WriteSettings(c.text);
    INIDATA record;
    EXPECT_EQ(Open()->GetIniData(&record), 0);
    EXPECT_EQ(WrongSizeItems(), notRead) << c.what;
    EXPECT_EQ(+record.ShowSeconds, c.showSeconds) << c.what;
    EXPECT_EQ(+record.ShowK, c.showK) << c.what;
    EXPECT_STREQ(record.DateFormat, INIDATA().DateFormat) << c.what;
    EXPECT_EQ(+record.DateFormat[79], 0);
}

const std::string kBinary = [] {
    std::string bytes;
    for (int i = 0; i < 3000; ++i) bytes += static_cast<char>((i * 37 + 11) % 256);
    return bytes;
}();

INSTANTIATE_TEST_SUITE_P(
    Cases, BadSettingsFile,
    ::testing::Values(BadFile{"empty", "", {}, FALSE, 1}, BadFile{"binary", kBinary, {}, FALSE, 1},
                      BadFile{"binary inside the section",
                              "[QUORVANT]\nShowSeconds=01000000\n" + kBinary + "\nShowK=0000\n",
                              {"ShowSeconds", "ShowK"},
                              TRUE,
                              0},
                      BadFile{"truncated mid-line",
                              "[QUORVANT]\nShowSeconds=01000000\nShowK=00",
                              {"ShowSeconds"},
                              TRUE,
                              1},
                      BadFile{"truncated header", "[QUORV", {}, FALSE, 1},
                      BadFile{"no section", "ShowSeconds=01000000\nShowK=0000\n", {}, FALSE, 1},
                      BadFile{"lines of 100,000 characters",
                              "[QUORVANT]\nDateFormat=" + std::string(100000, '4') + "\n" +
                                  std::string(100000, 'x') + "\nShowSeconds=01000000\n",
                              {"ShowSeconds"},
                              TRUE,
                              1},
                      BadFile{"wrong lengths",
                              "[QUORVANT]\nShowSeconds=01\nShowK=00000000\nDateFormat=41\n",
                              {},
                              FALSE,
                              1},
                      BadFile{"lone CR line ends",
                              "[QUORVANT]\rShowSeconds=01000000\rShowK=0000\r",
                              {"ShowSeconds", "ShowK"},
                              TRUE,
                              0},
                      BadFile{"characters outside 0-9 and A-F convert by the rule",
                              "[QUORVANT]\nShowSeconds=0100000G\nShowK=G0G0\nShowM=0a00\n",
                              {"ShowSeconds", "ShowK", "ShowM"},
                              0x10000001,
                              0}));

TEST_F(SettingsStore, ReadsTheReportsSettings) {
    WriteSettings(
        "[QUORVANT]\nShowSeconds=01000000\nShowK=0000\nShowTrueK=0000\nShowM=0200\n"
        "ShowG=0000\nShowDiskLabels=00000000\nShowFileSystemNames=00000000\n");
    INIDATA record;
    Open()->GetIniData(&record);
    EXPECT_EQ(+record.ShowSeconds, TRUE);
    EXPECT_EQ(+record.ShowK, 0);
    EXPECT_EQ(+record.ShowTrueK, 0);
    EXPECT_EQ(+record.ShowM, 2);
    EXPECT_EQ(+record.ShowG, 0);
    EXPECT_EQ(+record.ShowDiskLabels, FALSE);
    EXPECT_EQ(+record.ShowFileSystemNames, FALSE);
}

TEST_F(SettingsStore, FAnchorCornerCoversAnchorCornerAndTheLowHalfOfItsFlag) {
    WriteSettings("[QUORVANT]\nPosition=" + std::string(56, '0') +
                  "\nAnchorCorner=0300\nfAnchorCorner=02000100\n");
    INIDATA record;
    Open()->GetIniData(&record);
    EXPECT_EQ(+record.AnchorCorner, 2);
    EXPECT_EQ(+record.fAnchorCorner, 1);
}

TEST_F(SettingsStore, NamedFontSetsItsFlagAndTextsAlwaysEndInAZero) {
    const auto letters = [](int count) {
        std::string digits;
        for (int i = 0; i < count; ++i) digits += "41";  // "A" without a terminator
        return digits;
    };
    WriteSettings("[QUORVANT]\nFontNameSize=" + letters(80) +
                  "\nfFontNameSize=00000000\nDateFormat=" + letters(80) +
                  "\nPopPassword=" + letters(32) + "\n");
    INIDATA record;
    Open()->GetIniData(&record);
    EXPECT_EQ(+record.fFontNameSize, TRUE);
    EXPECT_EQ(std::string(record.DateFormat), std::string(79, 'A'));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(record.FontNameSize)),
              std::string(79, 'A'));
    EXPECT_EQ(std::string(record.PopPassword), std::string(31, 'A'));
}

TEST_F(SettingsStore, ValidPositionIsReadAndTheWindowKeysStay) {
    const std::string position = "0100000002000000030000000400000005000000060000000700000000";
    const std::string text = "[QUORVANT]\nPosition=" + position.substr(0, 56) +
                             "\nAnchorCorner=0100\nfAnchorCorner=01000000\n";
    WriteSettings(text);
    INIDATA record;
    EXPECT_EQ(Open()->GetIniData(&record), 0);
    EXPECT_EQ(+record.Position.hwnd, 1u);
    EXPECT_EQ(+record.Position.cx, 5);
    EXPECT_EQ(+record.Position.flags, 7u);
    EXPECT_EQ(+record.fPosition, FALSE);  // the defaults come after the position
    EXPECT_EQ(SettingsText(), Entries(text));
}

TEST_F(SettingsStore, WithoutValidPositionTheWindowKeysGoAndTheRestIsRead) {
    WriteSettings(
        "; my settings\n[QUORVANT]\nPosition=0100\nAnchorCorner=0100\n"
        "ShowSeconds=01000000\nfAnchorCorner=01000000\n[OTHER]\nPosition=00\n");
    INIDATA record;
    EXPECT_EQ(Open()->GetIniData(&record), 0);
    EXPECT_EQ(+record.ShowSeconds, TRUE);
    EXPECT_EQ(+record.AnchorCorner, 0);
    EXPECT_EQ(SettingsText(),
              Entries("; my settings\n[QUORVANT]\nShowSeconds=01000000\n[OTHER]\nPosition=00\n"));
}

struct WindowKeysCase {
    const char* what;
    std::string before;
    std::string after;
};

class WindowKeys : public SettingsStore, public ::testing::WithParamInterface<WindowKeysCase> {};

// "Position", "AnchorCorner" and "fAnchorCorner" of the section go when
// "Position" is missing or of the wrong length; nothing else ever does.
TEST_P(WindowKeys, GoOnlyWithoutAPositionOfTheRightLength) {
    const WindowKeysCase& c = GetParam();
    WriteSettings(c.before);
    INIDATA record;
    EXPECT_EQ(Open()->GetIniData(&record), 0);
    EXPECT_EQ(SettingsText(), Entries(c.after)) << c.what;
}

const std::string kLowerCasePosition = "Position=" + std::string(54, '0') + "0a\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, WindowKeys,
    ::testing::Values(
        WindowKeysCase{"a lone CR ends a line",
                       "[QUORVANT]\nPosition=00\rShowSeconds=01000000\rShowK=0000\n",
                       "[QUORVANT]\nShowSeconds=01000000\rShowK=0000\n"},
        WindowKeysCase{"a lower-case Position has the right length",
                       "[QUORVANT]\n" + kLowerCasePosition + "AnchorCorner=0100\n",
                       "[QUORVANT]\n" + kLowerCasePosition + "AnchorCorner=0100\n"},
        WindowKeysCase{
            "'[QUORVANT' is no header: its keys belong to another section",
            "[QUORVANT]\nShowK=0000\n[OTHER]\n[QUORVANT\nPosition=00\nAnchorCorner=0100\n",
            "[QUORVANT]\nShowK=0000\n[OTHER]\n[QUORVANT\nPosition=00\nAnchorCorner=0100\n"},
        WindowKeysCase{"a broken header inside the section hides nothing",
                       "[QUORVANT]\nPosition=00\n[broken\nAnchorCorner=0100\nShowK=0000\n",
                       "[QUORVANT]\n[broken\nShowK=0000\n"},
        WindowKeysCase{"of duplicate keys the first goes", "[QUORVANT]\nPosition=00\nPosition=00\n",
                       "[QUORVANT]\nPosition=00\n"}));

TEST_F(SettingsStore, OtherApplicationWithoutPositionReadsNothing) {
    test::WriteFile(Dir / "OTHER.INI", "[OTHER]\nShowSeconds=01000000\n");
    auto store = Open("OTHER");
    ASSERT_TRUE(store->IsReady());
    INIDATA record;
    EXPECT_EQ(store->GetIniData(&record), 1);
    EXPECT_EQ(+record.ShowSeconds, FALSE);
    EXPECT_EQ(WrongSizeItems(), Strings{"Position"});
}

}  // namespace
}  // namespace qv
