#include "platform/profile.h"

namespace qv {

DWORD GetPrivateProfileText(const char* Section, const char* Key, const char* Default, char* Buffer,
                            DWORD Size, const char* File) {
    return ProfileFile(File ? File : "").Read(Section, Key, Default, Buffer, Size);
}

DWORD GetSystemProfileText(const char* Section, const char* Key, const char* Default, char* Buffer,
                           DWORD Size) {
    return ProfileFile(nullptr).Read(Section, Key, Default, Buffer, Size);
}

BOOL WritePrivateProfileText(const char* Section, const char* Key, const char* Value,
                             const char* File) {
    return ProfileFile(File ? File : "").Write(Section, Key, Value);
}

BOOL WriteSystemProfileText(const char* Section, const char* Key, const char* Value) {
    return ProfileFile(nullptr).Write(Section, Key, Value);
}

}  // namespace qv
