#include "platform/profile.h"

#include <windows.h>

#include <string>

namespace qv {

// The platform keeps its own copy of the files it reads: every call goes to it.
struct ProfileFile::State {
    bool System;
    std::string Path;
};

ProfileFile::ProfileFile(const char* Path)
    : Data(std::make_unique<State>(State{Path == nullptr, Path ? Path : ""})) {}

ProfileFile::~ProfileFile() = default;

DWORD ProfileFile::Read(const char* Section, const char* Key, const char* Default, char* Buffer,
                        DWORD Size) {
    const char* fallback = Default ? Default : "";
    if (Data->System) return ::GetProfileStringA(Section, Key, fallback, Buffer, Size);
    return ::GetPrivateProfileStringA(Section, Key, fallback, Buffer, Size, Data->Path.c_str());
}

BOOL ProfileFile::Write(const char* Section, const char* Key, const char* Value) {
    const BOOL written =
        Data->System ? ::WriteProfileStringA(Section, Key, Value)
                     : ::WritePrivateProfileStringA(Section, Key, Value, Data->Path.c_str());
    return written ? TRUE : FALSE;
}

}  // namespace qv
