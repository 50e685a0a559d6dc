// Small pieces the POSIX file code shares: the log's lock and the settings
// store's writer both need a path's folder and an exclusive lock, the settings
// store's readers a shared one; the log's lock and the named mutex both wait
// for a lock with a time limit.
#pragma once

#include <chrono>
#include <functional>
#include <string>

namespace qv {

// The folder part of the path with its trailing '/'; empty when it has none.
std::string DirectoryOf(const std::string& path);

// Takes the exclusive flock of the open file, waiting for it at most `wait`.
// False, with errno set (EAGAIN after the wait), when it fails.
bool LockExclusive(int fd, std::chrono::milliseconds wait);

// The same for a shared flock, which readers hold together and which keeps
// out the holder of the exclusive one.
bool LockShared(int fd, std::chrono::milliseconds wait);

// True for the errors of a lock request that found the lock held elsewhere.
bool IsLockBusy(int error);

// Repeats `attempt` (a lock request that does not wait; false with errno set
// when it fails) until it succeeds, fails for another reason than a busy lock,
// or the deadline passes, pausing between tries for 0.5 ms at first and at most
// 10 ms later: flock and fcntl offer only no wait or no limit. After a time-out
// errno is EAGAIN.
bool RetryUntil(std::chrono::steady_clock::time_point deadline,
                const std::function<bool()>& attempt);

}  // namespace qv
