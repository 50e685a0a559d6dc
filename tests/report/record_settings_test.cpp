#include "report/record_settings.h"

#include <gtest/gtest.h>

#include <cstring>

namespace qv {
namespace {

TEST(ReportSettingsFrom, TakesUnitsSecondsDriveNotesAndDateFormat) {
    INIDATA record(CountryInfo(LocaleItems{"0", "0", ",", "/", ":", "AM", "PM"}));
    ReportSettings defaults = ReportSettingsFrom(record);
    EXPECT_EQ(defaults.units.ShowK, 1);
    EXPECT_EQ(defaults.ShowSeconds, FALSE);
    EXPECT_EQ(defaults.ShowDiskLabels, TRUE);
    EXPECT_EQ(defaults.DateFormat, "%a, %m/%d/%y %I:%M:%S%p %z");

    record.ShowK = 0;
    record.ShowTrueK = 2;
    record.ShowM = 0xFFFF;  // a 16-bit setting stays positive when widened
    record.ShowG = 0;
    record.ShowSeconds = TRUE;
    record.ShowFileSystemNames = FALSE;
    record.ShowDiskLabels = FALSE;
    std::strcpy(record.DateFormat, "%H:%M");
    const ReportSettings settings = ReportSettingsFrom(record);
    EXPECT_EQ(settings.units.ShowK, 0);
    EXPECT_EQ(settings.units.ShowTrueK, 2);
    EXPECT_EQ(settings.units.ShowM, 65535);
    EXPECT_EQ(settings.units.ShowG, 0);
    EXPECT_EQ(settings.ShowSeconds, TRUE);
    EXPECT_EQ(settings.ShowFileSystemNames, FALSE);
    EXPECT_EQ(settings.ShowDiskLabels, FALSE);
    EXPECT_EQ(settings.DateFormat, "%H:%M");
}

}  // namespace
}  // namespace qv
