// The locale items of the system, derived from the C library's description of
// the locale: its date and time formats, separators and markers. Pure, so that
// tests feed it the texts of any locale.
#pragma once

#include <string>

#include "platform/locale.h"

namespace qv {

struct LanginfoTexts {
    std::string dateFormat;      // D_FMT, for example "%m/%d/%Y"
    std::string timeFormat;      // T_FMT, for example "%r" or "%T"
    std::string timeFormatAmPm;  // T_FMT_AMPM, what "%r" stands for
    std::string thousandsSeparator;
    std::string am;
    std::string pm;
};

LocaleItems ItemsFromLanginfo(const LanginfoTexts& texts);

}  // namespace qv
