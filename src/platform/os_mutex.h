// The operating system's mutex: owned by one thread at a time, re-entrant for
// its owner, waited for with a time-out. The Mutex class builds on this.
#pragma once

#include "platform/types.h"

namespace qv {

struct OsMutexCreation {
    HANDLE handle = nullptr;      // null when creation failed
    bool alreadyExisted = false;  // a named mutex of that name was open already
    DWORD error = 0;              // the system's error code when creation failed
};

// A process-local mutex when name is null, else one shared by every process of
// the user that opens the same name.
OsMutexCreation CreateOsMutex(const char* name);
void CloseOsMutex(HANDLE mutex);

enum class OsWait { Obtained, Abandoned, TimedOut, Failed };

// Timeout in milliseconds; -1 waits without limit. After Abandoned the caller
// owns the mutex (its previous owner ended without releasing it).
OsWait WaitOsMutex(HANDLE mutex, int timeout);

// The wait of a thread that owns windows: on Windows it keeps dispatching the
// thread's window messages while it waits, and any result but Obtained means
// the mutex was not obtained normally. Without a window system it is WaitOsMutex.
OsWait WaitOsMutexPumping(HANDLE mutex, int timeout);

// False when the calling thread does not own the mutex.
bool ReleaseOsMutex(HANDLE mutex);

}  // namespace qv
