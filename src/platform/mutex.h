// Mutex: a system mutex with a tag for log lines, an optional trace of every
// request and release, and a one-instance option under which finding the name
// already in use is a failure.
#pragma once

#include <string>

#include "platform/os_mutex.h"
#include "platform/types.h"

namespace qv {

class Mutex {
  public:
    // Result of Request, RequestWin and Release when the object has no handle.
    static constexpr ULONG kNoHandle = 0xFFFFFFFF;

    Mutex(const char* tag, const char* name, int OneInstanceOnly);
    ~Mutex();
    Mutex(const Mutex&) = delete;
    Mutex& operator=(const Mutex&) = delete;

    // TRUE when the calling thread now owns the mutex; FALSE on a time-out, a
    // failure or an abandoned mutex (which the caller then owns all the same).
    ULONG Request(int Timeout);
    // The same wait for a thread that owns windows; it keeps them answering.
    ULONG RequestWin(int Timeout);
    // TRUE when released; FALSE when the calling thread did not own it.
    ULONG Release();

    HANDLE QueryHandle() const { return Handle; }
    void SetDebug(bool on) { DebugFlag = on ? 1 : 0; }

  private:
    ULONG Wait(int Timeout, const char* operation, OsWait (*wait)(HANDLE, int));

    HANDLE Handle = nullptr;
    std::string Tag;  // empty when no tag was given
    int DebugFlag = 0;
};

}  // namespace qv
