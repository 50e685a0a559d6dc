#include "platform/posix/file_helpers.h"

#include <sys/file.h>

#include <algorithm>
#include <cerrno>
#include <thread>

namespace qv {

std::string DirectoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool IsLockBusy(int error) {
    return error == EAGAIN || error == EWOULDBLOCK || error == EACCES || error == EINTR;
}

bool RetryUntil(std::chrono::steady_clock::time_point deadline,
                const std::function<bool()>& attempt) {
    using Clock = std::chrono::steady_clock;
    auto pause = std::chrono::microseconds(500);
    while (!attempt()) {
        if (!IsLockBusy(errno)) return false;
        const auto now = Clock::now();
        if (now >= deadline) {
            errno = EAGAIN;
            return false;
        }
        std::this_thread::sleep_for(std::min<Clock::duration>(pause, deadline - now));
        pause = std::min(pause * 2, std::chrono::microseconds(10000));
    }
    return true;
}

namespace {

bool Lock(int fd, int operation, std::chrono::milliseconds wait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    return RetryUntil(deadline, [=] { return ::flock(fd, operation | LOCK_NB) == 0; });
}

}  // namespace

bool LockExclusive(int fd, std::chrono::milliseconds wait) {
    return Lock(fd, LOCK_EX, wait);
}

bool LockShared(int fd, std::chrono::milliseconds wait) {
    return Lock(fd, LOCK_SH, wait);
}

}  // namespace qv
