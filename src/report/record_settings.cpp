#include "report/record_settings.h"

namespace qv {

ReportSettings ReportSettingsFrom(const INIDATA& IniData) {
    ReportSettings settings;
    settings.units.ShowK = IniData.ShowK;
    settings.units.ShowTrueK = IniData.ShowTrueK;
    settings.units.ShowM = IniData.ShowM;
    settings.units.ShowG = IniData.ShowG;
    settings.ShowSeconds = IniData.ShowSeconds;
    settings.ShowFileSystemNames = IniData.ShowFileSystemNames;
    settings.ShowDiskLabels = IniData.ShowDiskLabels;
    settings.DateFormat = IniData.DateFormat;  // always terminated within the field
    return settings;
}

}  // namespace qv
