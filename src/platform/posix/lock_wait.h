// Waiting for a file lock with a time limit: flock and fcntl offer only no
// wait or no limit. The log's lock, the settings store and the named mutex
// all wait so. Heap-free: the report of a fault takes the log's lock.
#pragma once

#include <time.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

namespace qv {

// True for the errors of a lock request that found the lock held elsewhere.
bool IsLockBusy(int error);

// Repeats `attempt` (a lock request that does not wait; false with errno set
// when it fails) until it succeeds, fails for another reason than a busy lock,
// or the deadline passes, pausing between tries for 0.5 ms at first and at most
// 10 ms later. After a time-out errno is EAGAIN.
template <typename Attempt>
bool RetryWhileBusy(std::chrono::steady_clock::time_point deadline, const Attempt& attempt) {
    using std::chrono::nanoseconds;
    nanoseconds pause = std::chrono::microseconds(500);
    while (!attempt()) {
        if (!IsLockBusy(errno)) return false;
        const nanoseconds left = deadline - std::chrono::steady_clock::now();
        if (left.count() <= 0) {
            errno = EAGAIN;
            return false;
        }
        const nanoseconds nap = std::min(pause, left);
        const timespec interval{static_cast<time_t>(nap.count() / 1000000000),
                                static_cast<long>(nap.count() % 1000000000)};
        ::nanosleep(&interval, nullptr);
        pause = std::min<nanoseconds>(pause * 2, std::chrono::milliseconds(10));
    }
    return true;
}

// Takes the exclusive flock of the open file, waiting for it at most `wait`.
// False, with errno set (EAGAIN after the wait), when it fails.
bool LockExclusive(int fd, std::chrono::milliseconds wait);

// The same for a shared flock, which readers hold together and which keeps
// out the holder of the exclusive one.
bool LockShared(int fd, std::chrono::milliseconds wait);

}  // namespace qv
