// The operating system's mutex over the two kinds of this system: one of the
// process alone, and one named by the user's processes. Within the process
// one object per name is shared by every creation of that name, and its
// threads take turns as with a process-local mutex.
#include "platform/os_mutex.h"

#include <cerrno>
#include <map>
#include <mutex>
#include <new>
#include <string>

#include "platform/posix/lock_file_mutex.h"
#include "platform/posix/reentrant_mutex.h"

namespace qv {
namespace {

// The named mutexes this process has open, so that every creation of one name
// shares one object, as a system's named object would be shared.
std::mutex RegistryGuard;
std::map<std::string, LockFileMutex*>& OpenNames() {
    static auto* names = new std::map<std::string, LockFileMutex*>;  // outlives static objects
    return *names;
}

OsMutexCreation CreateNamed(const std::string& name) {
    OsMutexCreation created;
    std::lock_guard<std::mutex> lock(RegistryGuard);
    auto& names = OpenNames();
    if (const auto found = names.find(name); found != names.end()) {
        ++found->second->References;
        created.handle = static_cast<ReentrantMutex*>(found->second);
        created.alreadyExisted = true;
        return created;
    }
    auto* mutex = new (std::nothrow) LockFileMutex(name);
    if (!mutex) {
        created.error = ENOMEM;
    } else if (!mutex->IsOpen()) {
        created.error = static_cast<DWORD>(errno);
        delete mutex;
    } else {
        names[name] = mutex;
        created.handle = Tracked(mutex);
        created.alreadyExisted = mutex->ExistedAlready();
    }
    return created;
}

ReentrantMutex* AsObject(HANDLE handle) {
    return static_cast<ReentrantMutex*>(handle);
}

}  // namespace

OsMutexCreation CreateOsMutex(const char* name) {
    if (name) return CreateNamed(name);
    OsMutexCreation created;
    if (ReentrantMutex* mutex = NewLocalMutex())
        created.handle = Tracked(mutex);
    else
        created.error = ENOMEM;
    return created;
}

void CloseOsMutex(HANDLE handle) {
    ReentrantMutex* object = AsObject(handle);
    if (auto* named = dynamic_cast<LockFileMutex*>(object)) {
        std::lock_guard<std::mutex> lock(RegistryGuard);
        if (--named->References > 0) return;
        OpenNames().erase(named->QueryName());
    }
    DestroyTracked(object);
}

OsWait WaitOsMutex(HANDLE handle, int timeout) {
    return AsObject(handle)->Wait(timeout);
}

OsWait WaitOsMutexPumping(HANDLE handle, int timeout) {
    return WaitOsMutex(handle, timeout);
}

bool ReleaseOsMutex(HANDLE handle) {
    return AsObject(handle)->Release();
}

}  // namespace qv
