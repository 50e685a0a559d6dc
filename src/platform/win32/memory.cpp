#include "platform/memory.h"

#include <windows.h>

#include "platform/win32/system_function.h"

namespace qv {
namespace {

// GlobalMemoryStatus of old systems: 32-bit figures, capped at 4 GiB.
MemoryStatus ClassicMemoryStatus() {
    MEMORYSTATUS status{};
    status.dwLength = sizeof status;
    ::GlobalMemoryStatus(&status);
    return {status.dwAvailPhys, status.dwTotalPageFile, status.dwAvailPageFile};
}

}  // namespace

MemoryStatus QueryMemoryStatus() {
    using MemoryStatusEx = ::BOOL(WINAPI*)(LPMEMORYSTATUSEX);
    static const MemoryStatusEx memoryStatusEx =
        SystemFunction<MemoryStatusEx>("kernel32.dll", "GlobalMemoryStatusEx");
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!memoryStatusEx || !memoryStatusEx(&status)) return ClassicMemoryStatus();
    return {status.ullAvailPhys, status.ullTotalPageFile, status.ullAvailPageFile};
}

}  // namespace qv
