#include "platform/posix/reentrant_mutex.h"

#include <unistd.h>

#include <new>
#include <set>
#include <utility>

// Ownership does not pass through fork: a child's copy of an object owned in
// its parent is free in the child.
//
// A thread that ends while it owns a mutex leaves it abandoned, as on
// Windows: a thread-local object's destructor runs as the thread ends and
// frees what it still owns, marked abandoned. A robust pthread mutex in shared
// memory would see the owner's end by itself, but the kernel writes into its
// memory when the owner ends, so it must stay mapped (or allocated) as long as
// any thread could own it, and closing an owned mutex would leave the kernel
// and the C library a dangling entry in the owner's list of robust mutexes.

namespace qv {

// Lives as long as its thread, from the thread's first request on, and its
// destructor runs when the thread ends: every mutex that thread still owns
// is then abandoned. Its address is the thread's mark of ownership, which a
// thread that ended never keeps (a new thread may get the ended one's id).
struct ThreadLife {
    ~ThreadLife();
};

namespace {

thread_local ThreadLife ThisThread;

// Every mutex object of the process, so that the end of a thread finds those
// it owns. Never destroyed: threads may end after the static objects are gone.
std::mutex LiveGuard;
std::set<ReentrantMutex*>& LiveMutexes() {
    static auto* live = new std::set<ReentrantMutex*>;
    return *live;
}

class LocalMutex final : public ReentrantMutex {
  protected:
    OsWait AcquireSystemWide(std::optional<Clock::time_point>) override {
        return std::exchange(Abandoned, false) ? OsWait::Abandoned : OsWait::Obtained;
    }
    void ReleaseSystemWide(bool abandoned) override { Abandoned = abandoned; }

  private:
    bool Abandoned = false;  // set as its owner ended, read by the next owner
};

}  // namespace

ThreadLife::~ThreadLife() {
    std::lock_guard<std::mutex> lock(LiveGuard);
    for (ReentrantMutex* mutex : LiveMutexes()) mutex->AbandonIfOwnedBy(this);
}

OsWait ReentrantMutex::Wait(int timeout) {
    const std::optional<Clock::time_point> deadline =
        timeout < 0
            ? std::nullopt
            : std::optional<Clock::time_point>(Clock::now() + std::chrono::milliseconds(timeout));
    const ThreadLife* self = &ThisThread;
    std::unique_lock<std::mutex> lock(Guard);
    ForgetParentsOwnership();
    if (Depth > 0 && Owner == self) {
        ++Depth;
        return OsWait::Obtained;
    }
    const auto isFree = [&] { return Depth == 0 && !Claimed; };
    if (!deadline)
        Freed.wait(lock, isFree);
    else if (!Freed.wait_until(lock, *deadline, isFree))
        return OsWait::TimedOut;
    // This thread alone goes on to the system-wide part; the others wait. Its
    // process stays the same meanwhile: a fork copies only the forking thread.
    const pid_t process = ::getpid();
    Claimed = true;
    OwnerProcess = process;
    lock.unlock();
    const OsWait result = AcquireSystemWide(deadline);
    lock.lock();
    Claimed = false;
    if (result == OsWait::Obtained || result == OsWait::Abandoned) {
        Owner = self;
        OwnerProcess = process;
        Depth = 1;
    } else {
        Freed.notify_one();
    }
    return result;
}

bool ReentrantMutex::Release() {
    std::unique_lock<std::mutex> lock(Guard);
    ForgetParentsOwnership();
    if (Depth == 0 || Owner != &ThisThread) return false;
    if (--Depth == 0) Free(lock, false);
    return true;
}

void ReentrantMutex::AbandonIfOwnedBy(const ThreadLife* ended) {
    std::unique_lock<std::mutex> lock(Guard);
    ForgetParentsOwnership();
    if (Depth > 0 && Owner == ended) Free(lock, true);
}

// In a forked child the state copied from the parent names an owner of the
// parent (the forking thread's copy included); the child owns nothing.
void ReentrantMutex::ForgetParentsOwnership() {
    if (Depth == 0 && !Claimed) return;
    if (OwnerProcess == ::getpid()) return;
    Depth = 0;
    Owner = nullptr;
    Claimed = false;
}

void ReentrantMutex::Free(std::unique_lock<std::mutex>& lock, bool abandoned) {
    Depth = 0;
    ReleaseSystemWide(abandoned);
    Owner = nullptr;
    lock.unlock();
    Freed.notify_one();
}

HANDLE Tracked(ReentrantMutex* mutex) {
    std::lock_guard<std::mutex> lock(LiveGuard);
    LiveMutexes().insert(mutex);
    return mutex;
}

void DestroyTracked(ReentrantMutex* mutex) {
    {
        std::lock_guard<std::mutex> lock(LiveGuard);
        LiveMutexes().erase(mutex);
    }
    delete mutex;
}

ReentrantMutex* NewLocalMutex() {
    return new (std::nothrow) LocalMutex;
}

}  // namespace qv
