// Requests a mutex from a thread of its own, releasing it again when obtained.
#pragma once

#include <thread>

#include "platform/mutex.h"

namespace qv::test {

inline ULONG RequestOnAnotherThread(Mutex& mutex, int timeout) {
    ULONG result = 99;
    std::thread other([&] {
        result = mutex.Request(timeout);
        if (result == TRUE) mutex.Release();
    });
    other.join();
    return result;
}

}  // namespace qv::test
