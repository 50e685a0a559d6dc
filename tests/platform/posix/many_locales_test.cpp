// The locale record, the date formatter and the report in a spread of the C
// library's locales over every script (tests/locale/locales.txt, made by the
// build into LOCPATH), against the C library itself: its nl_langinfo and
// strftime texts and, with the LC_CTYPE of a whole UTF-8 locale, its
// mbstowcs, iswalnum and wcswidth. What must hold in every language: the date
// and time separators are no letters or digits, the markers are whole, day
// names are cut only at whole characters, every value ends in display column
// 79, and each line is one line.
#include <gtest/gtest.h>
#include <langinfo.h>
#include <stdlib.h>

#include <algorithm>
#include <clocale>
#include <ctime>
#include <cwchar>
#include <cwctype>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "locale/country.h"
#include "locale/datefmt.h"
#include "locale/text.h"
#include "platform/library.h"
#include "platform/posix/locale.h"
#include "report/report.h"
#include "resource/date_text.h"
#include "settings/inidata.h"
#include "support/fake_source.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

std::vector<std::string> SpreadOfLocales() {
    std::ifstream list(MANY_LOCALES_LIST);
    std::vector<std::string> names;
    for (std::string line; std::getline(list, line);)
        if (!line.empty() && line[0] != '#') names.push_back(line);
    return names;
}

// The text as wide characters of the C library; nothing when it is no valid
// multibyte text.
std::optional<std::wstring> Wide(const std::string& text) {
    std::vector<wchar_t> wide(text.size() + 1);
    const std::size_t length = std::mbstowcs(wide.data(), text.c_str(), wide.size());
    if (length == static_cast<std::size_t>(-1)) return std::nullopt;
    return std::wstring(wide.data(), length);
}

int Columns(const std::string& text) {
    const auto wide = Wide(text);
    return wide ? ::wcswidth(wide->c_str(), wide->size()) : -1;
}

// The texts of one locale as the C library gives them.
struct Reference {
    std::string am, pm;
    std::string days[7], months[12];
    std::string twelveDayNames;  // strftime of kTwelveDays
};

constexpr const char* kTwelveDays = "%A %A %A %A %A %A %A %A %A %A %A %A";
constexpr std::time_t kMoment = 1781539200;  // a Monday in June 2026, noon UTC

std::string Strftime(const char* format, const std::tm& t) {
    char text[4096];
    return std::string(text, std::strftime(text, sizeof text, format, &t));
}

Reference ReferenceOf(const std::string& name) {
    Reference r;
    if (!std::setlocale(LC_TIME, name.c_str())) return r;
    r.am = ::nl_langinfo(AM_STR);
    r.pm = ::nl_langinfo(PM_STR);
    for (int i = 0; i < 7; ++i) r.days[i] = ::nl_langinfo(static_cast<nl_item>(DAY_1 + i));
    for (int i = 0; i < 12; ++i) r.months[i] = ::nl_langinfo(static_cast<nl_item>(MON_1 + i));
    std::tm t{};
    ::gmtime_r(&kMoment, &t);
    r.twelveDayNames = Strftime(kTwelveDays, t);
    std::setlocale(LC_TIME, "C");
    return r;
}

std::string Quoted(const std::string& text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') quoted += '\\';
        quoted += c;
    }
    return quoted + '"';
}

// A catalogue of the locale's own names: day and month names for the date
// (strings 43 to 62), and labels made of them, in the locale's script.
std::map<ULONG, std::string> LocaleStrings(const Reference& r) {
    std::map<ULONG, std::string> strings;
    for (ULONG id : {13, 15, 16, 17, 18, 19, 25, 27})
        strings[id] = r.months[id % 12] + " " + r.days[id % 7];
    strings[28] = r.months[11] + " %s";
    strings[40] = r.days[1];
    strings[41] = r.days[2];
    for (ULONG i = 0; i < 7; ++i) strings[43 + i] = r.days[i];
    for (ULONG i = 0; i < 12; ++i) strings[51 + i] = r.months[i];
    return strings;
}

class ManyLocales : public ::testing::Test {
  protected:
    void SetUp() override {
        ::setenv("LOCPATH", TEST_LOCALES, 1);
        ::setenv("TZ", "UTC", 1);
        ::tzset();
        ASSERT_NE(std::setlocale(LC_CTYPE, "en_US.UTF-8"), nullptr);
    }
    void TearDown() override {
        std::setlocale(LC_CTYPE, "C");
        ::unsetenv("LC_ALL");
    }
    test::TempDir Dir;
};

TEST_F(ManyLocales, SeparatorsMarkersNamesAndColumnsHoldInEveryScript) {
    const std::vector<std::string> names = SpreadOfLocales();
    ASSERT_GE(names.size(), 60u);
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const Reference r = ReferenceOf(name);
        ASSERT_FALSE(r.days[0].empty()) << "the build did not make " << name;

        const CountryInfo info(LocaleItemsNamed(name.c_str(), name.c_str()));
        for (const char* separator : {info.szDateSeparator, info.szTimeSeparator}) {
            const auto wide = Wide(separator);
            ASSERT_TRUE(wide) << separator;
            EXPECT_TRUE(std::none_of(wide->begin(), wide->end(), [](wchar_t c) {
                return std::iswalnum(static_cast<wint_t>(c));
            })) << separator;
        }
        EXPECT_EQ(info.szAm, r.am);
        EXPECT_EQ(info.szPm, r.pm);

        // The date formatter with the locale's names from a catalogue, in the
        // user's locale as the environment gives it.
        const std::map<ULONG, std::string> strings = LocaleStrings(r);
        std::ostringstream catalogue;
        for (const auto& [id, text] : strings) catalogue << id << ' ' << Quoted(text) << '\n';
        const std::string path = Dir / (name + ".cat");
        test::WriteFile(path, catalogue.str());
        const HANDLE library = LoadLanguageLibrary(path);
        ASSERT_NE(library, nullptr);
        ::setenv("LC_ALL", name.c_str(), 1);
        const CountryInfo user;
        const auto twelve = Wide(FormatDateText(kTwelveDays, 99, kMoment, user, library));
        const auto expected = Wide(r.twelveDayNames);
        ASSERT_TRUE(twelve && expected);
        EXPECT_EQ(*twelve, expected->substr(0, 99));
        const std::string date =
            FormatDateText(DefaultDateFormat(info), 99, kMoment, user, library);
        ::unsetenv("LC_ALL");
        FreeLanguageLibrary(library);

        test::FakeSource source;
        source.Strings = strings;
        source.Date = date;
        source.Memory = {123456789, 987654321, 555555555};
        ReportSettings settings;
        settings.units.ShowK = 0;  // bytes in digit groups, with the locale's separator
        settings.ShowSeconds = TRUE;
        const std::string report = Report(source, info, settings).Text();

        std::istringstream lines(report);
        std::string line;
        std::getline(lines, line);
        const int dateColumns = Columns(date);
        EXPECT_EQ(line, std::string(static_cast<std::size_t>(40 - dateColumns / 2), ' ') + date);
        while (std::getline(lines, line)) EXPECT_EQ(Columns(line), 79) << line;
        EXPECT_EQ(report.back(), '\n');
    }
}

// The widths of the report's texts are those of the C library, character by
// character, wherever it has one for a printable character.
TEST_F(ManyLocales, DisplayWidthIsTheCLibrarysForEveryCharacter) {
    int differences = 0;
    for (char32_t c = 0x20; c < 0x110000; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        const int expected = ::wcwidth(static_cast<wchar_t>(c));
        if (expected < 0) continue;
        std::wstring wide(1, static_cast<wchar_t>(c));
        char text[8] = {};
        if (std::wcstombs(text, wide.c_str(), sizeof text) == static_cast<std::size_t>(-1))
            continue;
        if (DisplayWidth(text) != expected && ++differences <= 10)
            ADD_FAILURE() << "U+" << std::hex << static_cast<unsigned>(c) << ": " << expected;
    }
    EXPECT_EQ(differences, 0);
}

}  // namespace
}  // namespace qv
