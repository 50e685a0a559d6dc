// The settings of the record that change how the report shows its values.
#pragma once

#include "report/report.h"
#include "settings/inidata.h"

namespace qv {

ReportSettings ReportSettingsFrom(const INIDATA& IniData);

}  // namespace qv
