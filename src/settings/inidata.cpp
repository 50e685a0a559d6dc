#include "settings/inidata.h"

#include <cstring>

namespace qv {

// The file stores every field's bytes, and the key "fAnchorCorner" covers
// AnchorCorner and the low half of fAnchorCorner together: the layout is part
// of the file format. Only the pointers before Position differ between builds.
namespace layout {
constexpr std::size_t P = sizeof(void*);
constexpr std::size_t Position = 2 + 42 * P + 16 + 260 + 8 + P + 7 * P;

static_assert(sizeof(WINDOWPOS) == 28);
static_assert(offsetof(_IniData, Items) == 2);
static_assert(offsetof(_IniData, MemoryFree) == 2 + 42 * P);
static_assert(offsetof(_IniData, SwapPath) == 18 + 42 * P);
static_assert(offsetof(_IniData, SpoolPath) == 286 + 42 * P);
static_assert(offsetof(_IniData, Day) == 286 + 43 * P);
static_assert(offsetof(_IniData, Position) == Position);
static_assert(offsetof(_IniData, fPosition) == Position + 28);
static_assert(offsetof(_IniData, HideControls) == Position + 32);
static_assert(offsetof(_IniData, ShowDiskDrives) == Position + 80);
static_assert(offsetof(_IniData, ShowFileSystemNames) == Position + 96);
static_assert(offsetof(_IniData, ShowSeconds) == Position + 112);
static_assert(offsetof(_IniData, UseZivuzuz) == Position + 120);
static_assert(offsetof(_IniData, ShowK) == Position + 136);
static_assert(offsetof(_IniData, fShowK) == Position + 138);
static_assert(offsetof(_IniData, ShowG) == Position + 154);
static_assert(offsetof(_IniData, MonitorPriority) == Position + 160);
static_assert(offsetof(_IniData, fMonitorPriority) == Position + 161);
static_assert(offsetof(_IniData, TimerInterval) == Position + 165);
static_assert(offsetof(_IniData, AveragingInterval) == Position + 171);
static_assert(offsetof(_IniData, AnchorCorner) == Position + 177);
static_assert(offsetof(_IniData, fAnchorCorner) == Position + 179);
static_assert(offsetof(_IniData, DateFormat) == Position + 183);
static_assert(offsetof(_IniData, PopServer) == Position + 263);
static_assert(offsetof(_IniData, PopPassword) == Position + 423);
static_assert(offsetof(_IniData, PopReader) == Position + 455);
static_assert(offsetof(_IniData, PopWavFile) == Position + 715);
static_assert(offsetof(_IniData, PopPort) == Position + 975);
static_assert(offsetof(_IniData, PopInterval) == Position + 985);
static_assert(offsetof(_IniData, FontNameSize) == Position + 993);
static_assert(offsetof(_IniData, fFontNameSize) == Position + 1073);
static_assert(offsetof(_IniData, BackColor) == Position + 1077);
static_assert(offsetof(_IniData, WarningBackground) == Position + 1093);
static_assert(offsetof(_IniData, ErrorBackground) == Position + 1109);
static_assert(offsetof(_IniData, fErrorForeground) == Position + 1121);
static_assert(sizeof(_IniData) == Position + 1125);
static_assert(sizeof(Priority) == 1);
}  // namespace layout

#define QV_ROW(key, field) \
    { key, offsetof(_IniData, field), sizeof(_IniData::field) }

const PROFILEITEM ProfileItems[ProfileItemCount] = {
    QV_ROW("AnchorCorner", AnchorCorner),
    // Four bytes from AnchorCorner: AnchorCorner and the low half of fAnchorCorner.
    {"fAnchorCorner", offsetof(_IniData, AnchorCorner), 4},
    QV_ROW("Animate", Animate),
    QV_ROW("fAnimate", fAnimate),
    QV_ROW("BackgroundColor", BackColor),
    QV_ROW("fBackgroundColor", fBackColor),
    QV_ROW("CenterClock", CenterClock),
    QV_ROW("fCenterClock", fCenterClock),
    QV_ROW("Chime", Chime),
    QV_ROW("fChime", fChime),
    QV_ROW("DateFormat", DateFormat),
    QV_ROW("DialogBorder", DialogBorder),
    QV_ROW("fDialogBorder", fDialogBorder),
    QV_ROW("ErrorBackground", ErrorBackground),
    QV_ROW("fErrorBackground", fErrorBackground),
    QV_ROW("ErrorForeground", ErrorForeground),
    QV_ROW("fErrorForeground", fErrorForeground),
    QV_ROW("Float", Float),
    QV_ROW("fFloat", fFloat),
    QV_ROW("FontNameSize", FontNameSize),
    QV_ROW("fFontNameSize", fFontNameSize),
    QV_ROW("ForegroundColor", TextColor),
    QV_ROW("fForegroundColor", fTextColor),
    QV_ROW("HideControls", HideControls),
    QV_ROW("fHideControls", fHideControls),
    QV_ROW("MonitorPriority", MonitorPriority),
    QV_ROW("fMonitorPriority", fMonitorPriority),
    QV_ROW("PopServer", PopServer),
    QV_ROW("PopUserName", PopUserName),
    QV_ROW("PopPassword", PopPassword),
    QV_ROW("PopPort", PopPort),
    QV_ROW("PopForceIP", PopForceIP),
    QV_ROW("PopUseAPOP", PopUseAPOP),
    QV_ROW("PopInterval", PopInterval),
    QV_ROW("PopReader", PopReader),
    QV_ROW("PopAlert", PopAlert),
    QV_ROW("PopWavFile", PopWavFile),
    QV_ROW("ShowDiskDrives", ShowDiskDrives),
    QV_ROW("fShowDiskDrives", fShowDiskDrives),
    QV_ROW("ShowDiskLabels", ShowDiskLabels),
    QV_ROW("fShowDiskLabels", fShowDiskLabels),
    QV_ROW("ShowFileSystemNames", ShowFileSystemNames),
    QV_ROW("fShowFileSystemNames", fShowFileSystemNames),
    QV_ROW("ShowRemoteDrives", ShowRemoteDrives),
    QV_ROW("fShowRemoteDrives", fShowRemoteDrives),
    QV_ROW("ShowSeconds", ShowSeconds),
    QV_ROW("fShowSeconds", fShowSeconds),
    QV_ROW("UseZivuzuz", UseZivuzuz),
    QV_ROW("fUseZivuzuz", fUseZivuzuz),
    QV_ROW("ShowG", ShowG),
    QV_ROW("fShowG", fShowG),
    QV_ROW("ShowK", ShowK),
    QV_ROW("fShowK", fShowK),
    QV_ROW("ShowM", ShowM),
    QV_ROW("fShowM", fShowM),
    QV_ROW("ShowTrueK", ShowTrueK),
    QV_ROW("fShowTrueK", fShowTrueK),
    QV_ROW("TableFormat", TableFormat),
    QV_ROW("fTableFormat", fTableFormat),
    QV_ROW("TimerInterval", TimerInterval),
    QV_ROW("fTimerInterval", fTimerInterval),
    QV_ROW("AveragingInterval", AveragingInterval),
    QV_ROW("fAveragingInterval", fAveragingInterval),
    QV_ROW("WarningBackground", WarningBackground),
    QV_ROW("fWarningBackground", fWarningBackground),
    QV_ROW("WarningForeground", WarningForeground),
    QV_ROW("fWarningForeground", fWarningForeground),
};

#undef QV_ROW

namespace {

template <std::size_t N>
void SetText(char (&field)[N], const std::string& text) {
    std::memset(field, 0, N);
    std::memcpy(field, text.data(), text.size() < N ? text.size() : N - 1);
}

template <typename Char, std::size_t N>
void Terminate(Char (&field)[N]) {
    field[N - 1] = 0;
}

}  // namespace

std::string DefaultDateFormat(const CountryInfo& Locale) {
    const std::string date = Locale.szDateSeparator;
    const std::string time = Locale.szTimeSeparator;
    std::string format = "%a, ";
    switch (Locale.fsDateFmt) {
        case 0:
            format += "%m" + date + "%d" + date + "%y ";
            break;
        case 1:
            format += "%d" + date + "%m" + date + "%y ";
            break;
        case 2:
            format += "%y" + date + "%m" + date + "%d ";
            break;
        default:
            break;
    }
    if (Locale.fsTimeFmt == 0)
        format += "%I" + time + "%M" + time + "%S%p %z";
    else
        format += "%H" + time + "%M" + time + "%S %z";
    return format;
}

_IniData::_IniData() {
    Reset();
}

_IniData::_IniData(const CountryInfo& Locale) {
    Reset(Locale);
}

void _IniData::Reset() {
    Reset(CountryInfo());
}

void _IniData::Reset(const CountryInfo& Locale) {
    fPosition = FALSE;
    HideControls = Float = Animate = DialogBorder = TableFormat = Chime = FALSE;
    ShowDiskDrives = ShowRemoteDrives = ShowFileSystemNames = ShowDiskLabels = TRUE;
    ShowSeconds = UseZivuzuz = FALSE;
    CenterClock = TRUE;
    ShowK = ShowTrueK = ShowM = ShowG = 1;
    MonitorPriority = PRIORITY_TIME_CRITICAL;
    TimerInterval = 1000;
    AveragingInterval = 60;
    AnchorCorner = 0;
    std::memset(FontNameSize, 0, sizeof FontNameSize);
    BackColor = 0xFFFFFF;
    TextColor = 0;
    WarningBackground = 0xFFFF00;
    WarningForeground = 0;
    ErrorBackground = 0xFF0000;
    ErrorForeground = 0xFFFFFF;
    SetText(DateFormat, DefaultDateFormat(Locale));
    SetText(PopServer, "");
    SetText(PopUserName, "");
    SetText(PopPassword, "");
    SetText(PopReader, "netscape -mail -l en_US");
    SetText(PopWavFile, "");
    PopPort = 0;
    PopForceIP = FALSE;
    PopUseAPOP = TRUE;
    PopInterval = 60;
    PopAlert = TRUE;
    fHideControls = fFloat = fAnimate = fDialogBorder = fTableFormat = fChime = FALSE;
    fShowDiskDrives = fShowRemoteDrives = fShowFileSystemNames = fShowDiskLabels = FALSE;
    fShowSeconds = fUseZivuzuz = fCenterClock = FALSE;
    fShowK = fShowTrueK = fShowM = fShowG = FALSE;
    fMonitorPriority = fTimerInterval = fAveragingInterval = fAnchorCorner = FALSE;
    fFontNameSize = fBackColor = fTextColor = FALSE;
    fWarningBackground = fWarningForeground = fErrorBackground = fErrorForeground = FALSE;
}

void _IniData::TerminateTexts() {
    Terminate(DateFormat);
    Terminate(PopServer);
    Terminate(PopUserName);
    Terminate(PopPassword);
    Terminate(PopReader);
    Terminate(PopWavFile);
    Terminate(FontNameSize);
}

}  // namespace qv
