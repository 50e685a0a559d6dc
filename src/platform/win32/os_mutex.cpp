#include "platform/os_mutex.h"

#include <windows.h>

namespace qv {

// A Windows mutex is re-entrant for its owner and refuses a release by any
// other thread; a named one is shared by every process that opens the name.
OsMutexCreation CreateOsMutex(const char* name) {
    OsMutexCreation created;
    created.handle = ::CreateMutexA(nullptr, FALSE, name);
    const ::DWORD error = ::GetLastError();
    if (!created.handle)
        created.error = error;
    else
        created.alreadyExisted = name && error == ERROR_ALREADY_EXISTS;
    return created;
}

void CloseOsMutex(HANDLE mutex) {
    ::CloseHandle(mutex);
}

OsWait WaitOsMutex(HANDLE mutex, int timeout) {
    const ::DWORD limit = timeout < 0 ? INFINITE : static_cast<::DWORD>(timeout);
    switch (::WaitForSingleObject(mutex, limit)) {
        case WAIT_OBJECT_0:
            return OsWait::Obtained;
        case WAIT_ABANDONED:
            return OsWait::Abandoned;
        case WAIT_TIMEOUT:
            return OsWait::TimedOut;
        default:
            return OsWait::Failed;
    }
}

bool ReleaseOsMutex(HANDLE mutex) {
    return ::ReleaseMutex(mutex) != 0;
}

}  // namespace qv
