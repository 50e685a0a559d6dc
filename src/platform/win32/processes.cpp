#include <windows.h>
// Tool Help needs the types of windows.h.
#include <tlhelp32.h>

#include <vector>

#include "platform/processes.h"
#include "platform/win32/process_functions.h"

namespace qv {
namespace {

template <typename Function>
void LookUp(HMODULE library, const char* name, Function& function) {
    if (library == nullptr) return;
    // FARPROC stands for any function type; the detour through a pointer to a
    // function without parameters tells the compiler the cast is intended.
    function =
        reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(library, name)));
}

// Every entry of a process snapshot counts once.
int CountWithToolHelp(const ProcessCounter::Functions& f) {
    const HANDLE snapshot = f.pCreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    int count = 0;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (::BOOL more = f.pProcess32First(snapshot, &entry); more;
         more = f.pProcess32Next(snapshot, &entry)) {
        ++count;
        entry.dwSize = sizeof entry;
    }
    ::CloseHandle(snapshot);
    return count;
}

// The identifiers fill the buffer exactly when it may have been too small:
// then the buffer doubles and the enumeration is asked again.
int CountWithProcessStatus(const ProcessCounter::Functions& f) {
    constexpr ::DWORD kLargestBuffer = 64u << 20;
    ::DWORD offered = 1024;
    ::DWORD returned = 0;
    std::vector<::DWORD> ids;
    for (;; offered *= 2) {
        ids.assign(offered / sizeof(::DWORD), 0);
        if (!f.pEnumProcesses(ids.data(), offered, &returned)) break;
        if (returned != offered || offered >= kLargestBuffer) break;
    }
    return static_cast<int>(returned / sizeof(::DWORD));
}

}  // namespace

ProcessCounter::Functions LookUpProcessFunctions() {
    ProcessCounter::Functions f;
    f.hKernel32 = ::LoadLibraryA("KERNEL32.DLL");
    LookUp(f.hKernel32, "CreateToolhelp32Snapshot", f.pCreateToolhelp32Snapshot);
    LookUp(f.hKernel32, "Process32First", f.pProcess32First);
    LookUp(f.hKernel32, "Process32Next", f.pProcess32Next);
    f.hPSAPI = ::LoadLibraryA("PSAPI.DLL");
    LookUp(f.hPSAPI, "EnumProcesses", f.pEnumProcesses);
    LookUp(f.hPSAPI, "EnumProcessModules", f.pEnumProcessModules);
    LookUp(f.hPSAPI, "GetModuleFileNameExA", f.pGetModuleFileNameEx);
    f.hWOW = ::LoadLibraryA("VDMDBG.DLL");
    LookUp(f.hWOW, "VDMEnumTaskWOWEx", f.pVDMEnumTaskWOWEx);
    return f;
}

void FreeProcessFunctions(ProcessCounter::Functions& f) {
    for (HMODULE* library : {&f.hKernel32, &f.hPSAPI, &f.hWOW}) {
        if (*library != nullptr) ::FreeLibrary(*library);
        *library = nullptr;
    }
    f = ProcessCounter::Functions{};
}

int CountProcesses(const ProcessCounter::Functions& f) {
    if (f.pCreateToolhelp32Snapshot && f.pProcess32First && f.pProcess32Next)
        return CountWithToolHelp(f);
    if (f.pEnumProcesses && f.pEnumProcessModules && f.pGetModuleFileNameEx && f.pVDMEnumTaskWOWEx)
        return CountWithProcessStatus(f);
    return 0;
}

ProcessCounter::ProcessCounter() : Found(new Functions(LookUpProcessFunctions())) {}

ProcessCounter::~ProcessCounter() {
    FreeProcessFunctions(*Found);
}

int ProcessCounter::Count() const {
    return CountProcesses(*Found);
}

}  // namespace qv
