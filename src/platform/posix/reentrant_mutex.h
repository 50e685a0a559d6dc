// The in-process part of every mutex: owned by one thread at a time,
// re-entrant for its owner, waited for with a time-out, and abandoned when
// its owner thread ends without releasing it, as on Windows. A named mutex
// adds a system-wide part, which only the owning thread holds.
#pragma once

#include <sys/types.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>

#include "platform/os_mutex.h"

namespace qv {

struct ThreadLife;

class ReentrantMutex {
  public:
    using Clock = std::chrono::steady_clock;

    virtual ~ReentrantMutex() = default;

    OsWait Wait(int timeout);
    // False when the calling thread does not own it.
    bool Release();
    // Its owner thread ended without releasing it.
    void AbandonIfOwnedBy(const ThreadLife* ended);

  protected:
    virtual OsWait AcquireSystemWide(std::optional<Clock::time_point> deadline) = 0;
    // An abandoned mutex tells its next owner so.
    virtual void ReleaseSystemWide(bool abandoned) = 0;

  private:
    void ForgetParentsOwnership();
    void Free(std::unique_lock<std::mutex>& lock, bool abandoned);

    std::mutex Guard;
    std::condition_variable Freed;
    const ThreadLife* Owner = nullptr;
    pid_t OwnerProcess = ::getpid();  // of Owner, and of a thread that set Claimed
    unsigned Depth = 0;
    bool Claimed = false;  // a thread of this process is acquiring the system-wide part
};

// Makes the mutex known to the end of every thread, which abandons what the
// thread still owns, and gives its handle. Only mutexes so known are handed out.
HANDLE Tracked(ReentrantMutex* mutex);

// Forgets and destroys it.
void DestroyTracked(ReentrantMutex* mutex);

// A mutex of this process alone; null when memory runs out.
ReentrantMutex* NewLocalMutex();

}  // namespace qv
