// INIDATA: the record of every setting of the product family's desktop
// monitor, whose settings file the report shares. Each setting is stored in the
// file as the bytes of its field, so the field widths are part of the file
// format and the record is packed: the same widths and order on every build.
#pragma once

#include <cstddef>
#include <string>

#include "locale/country.h"
#include "platform/types.h"
#include "settings/profile.h"

namespace qv {

class Item;            // the monitor's items; never created by the report
class ResourceString;  // the monitor's label strings; never created by the report

enum Priority : BYTE {
    PRIORITY_IDLE = 0,
    PRIORITY_LOWEST = 1,
    PRIORITY_BELOW_NORMAL = 2,
    PRIORITY_NORMAL = 3,
    PRIORITY_ABOVE_NORMAL = 4,
    PRIORITY_HIGHEST = 5,
    PRIORITY_TIME_CRITICAL = 6,
};

#pragma pack(push, 1)

// The monitor window's placement with 32-bit handles: 28 bytes on every build.
struct WINDOWPOS {
    ULONG hwnd;
    ULONG hwndInsertAfter;
    LONG x;
    LONG y;
    LONG cx;
    LONG cy;
    ULONG flags;
};

struct _IniData {
    static constexpr int kItemSlots = 42;

    // The defaults of the user's locale, or of the given one.
    _IniData();
    explicit _IniData(const CountryInfo& Locale);

    void Reset();
    void Reset(const CountryInfo& Locale);

    // Ends every text field with a zero, whatever the file held.
    void TerminateTexts();

    // The monitor's run-time values, never stored in the file.
    USHORT ItemCount = 0;
    Item* Items[kItemSlots] = {};
    ULONG MemoryFree = 0;
    ULONG MemoryTime = 0;  // seconds, 32 bits
    ULONG IdleCount = 0;
    ULONG MaxCount = 0;
    BYTE SwapPath[260] = {};
    ULONG MinFree = 0;
    ULONG InitialSwap = 0;
    PSZ SpoolPath = nullptr;
    ResourceString* Day = nullptr;
    ResourceString* Days = nullptr;
    ResourceString* DaysOfWeek = nullptr;
    ResourceString* DriveError = nullptr;
    ResourceString* BatteryError = nullptr;
    ResourceString* BatteryAC = nullptr;
    ResourceString* BatteryCharging = nullptr;

    WINDOWPOS Position = {};
    BOOL fPosition = FALSE;
    BOOL HideControls = FALSE, fHideControls = FALSE;
    BOOL Float = FALSE, fFloat = FALSE;
    BOOL Animate = FALSE, fAnimate = FALSE;
    BOOL DialogBorder = FALSE, fDialogBorder = FALSE;
    BOOL TableFormat = FALSE, fTableFormat = FALSE;
    BOOL Chime = FALSE, fChime = FALSE;
    BOOL ShowDiskDrives = FALSE, fShowDiskDrives = FALSE;
    BOOL ShowRemoteDrives = FALSE, fShowRemoteDrives = FALSE;
    BOOL ShowFileSystemNames = FALSE, fShowFileSystemNames = FALSE;
    BOOL ShowDiskLabels = FALSE, fShowDiskLabels = FALSE;
    BOOL ShowSeconds = FALSE, fShowSeconds = FALSE;
    BOOL UseZivuzuz = FALSE, fUseZivuzuz = FALSE;
    BOOL CenterClock = FALSE, fCenterClock = FALSE;
    USHORT ShowK = 0;
    BOOL fShowK = FALSE;
    USHORT ShowTrueK = 0;
    BOOL fShowTrueK = FALSE;
    USHORT ShowM = 0;
    BOOL fShowM = FALSE;
    USHORT ShowG = 0;
    BOOL fShowG = FALSE;
    Priority MonitorPriority = PRIORITY_IDLE;
    BOOL fMonitorPriority = FALSE;
    USHORT TimerInterval = 0;
    BOOL fTimerInterval = FALSE;
    USHORT AveragingInterval = 0;
    BOOL fAveragingInterval = FALSE;
    USHORT AnchorCorner = 0;
    BOOL fAnchorCorner = FALSE;
    char DateFormat[80] = {};
    char PopServer[80] = {};
    char PopUserName[80] = {};
    char PopPassword[32] = {};
    char PopReader[260] = {};
    char PopWavFile[260] = {};
    USHORT PopPort = 0;
    BOOL PopForceIP = FALSE;
    BOOL PopUseAPOP = FALSE;
    std::int32_t PopInterval = 0;
    BOOL PopAlert = FALSE;
    BYTE FontNameSize[80] = {};
    BOOL fFontNameSize = FALSE;
    ULONG BackColor = 0;
    BOOL fBackColor = FALSE;
    ULONG TextColor = 0;
    BOOL fTextColor = FALSE;
    ULONG WarningBackground = 0;
    ULONG WarningForeground = 0;
    BOOL fWarningBackground = FALSE;
    BOOL fWarningForeground = FALSE;
    ULONG ErrorBackground = 0;
    ULONG ErrorForeground = 0;
    BOOL fErrorBackground = FALSE;
    BOOL fErrorForeground = FALSE;
};

#pragma pack(pop)

using INIDATA = _IniData;

// One key of the settings file: where its bytes go in the record, and how many.
struct PROFILEITEM {
    const char* Name;
    int Offset;
    int Size;
};

constexpr int ProfileItemCount = 67;
extern const PROFILEITEM ProfileItems[ProfileItemCount];

// The default format of the date line for the locale: the day of the week,
// the date in the locale's order and separator, the time on the locale's clock.
std::string DefaultDateFormat(const CountryInfo& Locale);

}  // namespace qv
