#include "platform/os_mutex.h"

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <new>
#include <thread>

namespace qv {
namespace {

// A process-local mutex that knows its owner: re-entrant, timed, and a release
// by a thread that does not own it is refused instead of undefined.
struct LocalMutex {
    std::mutex guard;
    std::condition_variable freed;
    std::thread::id owner;
    unsigned depth = 0;
};

LocalMutex* AsLocal(HANDLE handle) {
    return static_cast<LocalMutex*>(handle);
}

}  // namespace

OsMutexCreation CreateOsMutex(const char* name) {
    OsMutexCreation created;
    if (name) {  // system-wide names are not offered on this platform yet
        created.error = ENOSYS;
        return created;
    }
    created.handle = new (std::nothrow) LocalMutex;
    if (!created.handle) created.error = ENOMEM;
    return created;
}

void CloseOsMutex(HANDLE mutex) {
    delete AsLocal(mutex);
}

OsWait WaitOsMutex(HANDLE handle, int timeout) {
    LocalMutex& mutex = *AsLocal(handle);
    const std::thread::id self = std::this_thread::get_id();
    std::unique_lock<std::mutex> lock(mutex.guard);
    const auto isFree = [&] { return mutex.depth == 0 || mutex.owner == self; };
    if (timeout < 0) {
        mutex.freed.wait(lock, isFree);
    } else if (!mutex.freed.wait_for(lock, std::chrono::milliseconds(timeout), isFree)) {
        return OsWait::TimedOut;
    }
    mutex.owner = self;
    ++mutex.depth;
    return OsWait::Obtained;
}

bool ReleaseOsMutex(HANDLE handle) {
    LocalMutex& mutex = *AsLocal(handle);
    std::unique_lock<std::mutex> lock(mutex.guard);
    if (mutex.depth == 0 || mutex.owner != std::this_thread::get_id()) return false;
    if (--mutex.depth == 0) {
        mutex.owner = std::thread::id();
        lock.unlock();
        mutex.freed.notify_one();
    }
    return true;
}

}  // namespace qv
