#include "platform/profile.h"

#include <windows.h>

namespace qv {

DWORD GetPrivateProfileText(const char* Section, const char* Key, const char* Default, char* Buffer,
                            DWORD Size, const char* File) {
    return ::GetPrivateProfileStringA(Section, Key, Default ? Default : "", Buffer, Size, File);
}

DWORD GetSystemProfileText(const char* Section, const char* Key, const char* Default, char* Buffer,
                           DWORD Size) {
    return ::GetProfileStringA(Section, Key, Default ? Default : "", Buffer, Size);
}

BOOL WritePrivateProfileText(const char* Section, const char* Key, const char* Value,
                             const char* File) {
    return ::WritePrivateProfileStringA(Section, Key, Value, File) ? TRUE : FALSE;
}

BOOL WriteSystemProfileText(const char* Section, const char* Key, const char* Value) {
    return ::WriteProfileStringA(Section, Key, Value) ? TRUE : FALSE;
}

}  // namespace qv
