// Reading the settings file puts the file's keys over the defaults of the
// locale the run took once, not over those of the locale queried again: a key
// the file lacks keeps the default of the locale the caller handed in.
#include <gtest/gtest.h>

#include <string>

#include "settings/inidata.h"
#include "settings/store_fixture.h"

namespace qv {
namespace {

using test::SettingsStore;

struct LocaleCase {
    LocaleItems items;
    const char* dateFormat;  // the default date format of that locale
};

// Day first on a 24-hour clock, and year first with its own separators: the
// user's locale cannot be both, so one case at least tells the two apart.
const LocaleCase kCases[] = {
    {{"1", "1", ".", ".", ":", "", ""}, "%a, %d.%m.%y %H:%M:%S %z"},
    {{"2", "1", ",", "-", ".", "", ""}, "%a, %y-%m-%d %H.%M.%S %z"},
};

TEST_F(SettingsStore, KeysTheFileLacksKeepTheDefaultsOfTheGivenLocale) {
    WriteSettings("[QUORVANT]\nShowSeconds=01000000\n");
    for (const LocaleCase& c : kCases) {
        SCOPED_TRACE(c.dateFormat);
        const CountryInfo locale(c.items);
        INIDATA record(locale);
        EXPECT_EQ(Open()->GetIniData(&record, locale), 0);
        EXPECT_EQ(+record.ShowSeconds, TRUE) << "the file was read";
        EXPECT_STREQ(record.DateFormat, c.dateFormat);
    }
}

}  // namespace
}  // namespace qv
