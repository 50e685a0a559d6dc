// The optional process enumeration functions of Windows, looked up at
// start-up: Tool Help in KERNEL32, the process-status library PSAPI and the
// 16-bit task enumerator of VDMDBG.
#pragma once

#include <windows.h>
// Tool Help needs the types of windows.h.
#include <tlhelp32.h>

#include "platform/processes.h"

namespace qv {

// The types are Windows' own (::DWORD), not the system's of platform/types.h,
// whatever a file included before this one.
struct ProcessCounter::Functions {
    HMODULE hKernel32 = nullptr;
    HMODULE hPSAPI = nullptr;
    HMODULE hWOW = nullptr;
    HANDLE(WINAPI* pCreateToolhelp32Snapshot)(::DWORD flags, ::DWORD processId) = nullptr;
    ::BOOL(WINAPI* pProcess32First)(HANDLE snapshot, PROCESSENTRY32* entry) = nullptr;
    ::BOOL(WINAPI* pProcess32Next)(HANDLE snapshot, PROCESSENTRY32* entry) = nullptr;
    ::BOOL(WINAPI* pEnumProcesses)(::DWORD* ids, ::DWORD bytes, ::DWORD* returned) = nullptr;
    ::BOOL(WINAPI* pEnumProcessModules)(HANDLE process, HMODULE* modules, ::DWORD bytes,
                                        ::DWORD* needed) = nullptr;
    ::DWORD(WINAPI* pGetModuleFileNameEx)(HANDLE process, HMODULE module, char* name,
                                          ::DWORD size) = nullptr;
    // Only looked up, never called: its presence selects the process-status way.
    INT(WINAPI* pVDMEnumTaskWOWEx)(::DWORD processId, void* callback, LPARAM data) = nullptr;
};

// Loads the three libraries and looks up their functions; what is missing
// stays null.
ProcessCounter::Functions LookUpProcessFunctions();

// Frees the libraries that loaded, in the order KERNEL32, PSAPI, VDMDBG.
void FreeProcessFunctions(ProcessCounter::Functions& functions);

// Tool Help when all three of its functions exist, else the process-status
// library when all four functions exist, else 0.
int CountProcesses(const ProcessCounter::Functions& functions);

}  // namespace qv
