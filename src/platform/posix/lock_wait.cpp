#include "platform/posix/lock_wait.h"

#include <sys/file.h>

namespace qv {

bool IsLockBusy(int error) {
    return error == EAGAIN || error == EWOULDBLOCK || error == EACCES || error == EINTR;
}

namespace {

bool Lock(int fd, int operation, std::chrono::milliseconds wait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    return RetryWhileBusy(deadline, [=] { return ::flock(fd, operation | LOCK_NB) == 0; });
}

}  // namespace

bool LockExclusive(int fd, std::chrono::milliseconds wait) {
    return Lock(fd, LOCK_EX, wait);
}

bool LockShared(int fd, std::chrono::milliseconds wait) {
    return Lock(fd, LOCK_SH, wait);
}

}  // namespace qv
