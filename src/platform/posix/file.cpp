#include "platform/file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>

namespace qv {

std::int64_t FileSize(const char* path) {
    struct stat status {};
    if (::stat(path, &status) != 0) return -1;
    return static_cast<std::int64_t>(status.st_size);
}

// O_NOFOLLOW: a symbolic link planted at the log's name is refused, not written
// through. O_NONBLOCK and the test for a regular file: a FIFO or a device
// there is refused too, where a plain open would wait for a reader forever.
// O_APPEND and a single write keep entries of several processes whole.
bool AppendToFile(const char* path, const char* text, std::size_t length) {
    const int fd =
        ::open(path, O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return false;
    }
    ssize_t written;
    do {
        written = ::write(fd, text, length);
    } while (written < 0 && errno == EINTR);
    const bool closed = ::close(fd) == 0;
    return closed && written == static_cast<ssize_t>(length);
}

bool RemoveFile(const char* path) {
    return ::unlink(path) == 0;
}

bool RenameFile(const char* from, const char* to) {
    return ::rename(from, to) == 0;
}

namespace {

// Tries the lock without blocking until the deadline, pausing 0.5 ms at first
// and at most 10 ms later (flock offers only no wait or no limit). Only system
// calls that a signal handler may make.
bool LockFolderUntil(int fd, std::chrono::milliseconds wait) {
    timespec now{}, deadline{};
    ::clock_gettime(CLOCK_MONOTONIC, &deadline);
    const long long end = deadline.tv_sec * 1000000000LL + deadline.tv_nsec +
                          static_cast<long long>(wait.count()) * 1000000;
    long pause = 500000;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) return false;
        ::clock_gettime(CLOCK_MONOTONIC, &now);
        const long long left = end - (now.tv_sec * 1000000000LL + now.tv_nsec);
        if (left <= 0) return false;
        const timespec nap{0, left < pause ? left : pause};
        ::nanosleep(&nap, nullptr);
        pause = pause * 2 < 10000000 ? pause * 2 : 10000000;
    }
    return true;
}

}  // namespace

// The lock is on the file's folder: the file itself may be renamed away (a
// rotated log), its folder stays where it is.
FileLock::FileLock(const char* path, std::chrono::milliseconds wait) {
    char folder[PATH_MAX];
    const char* slash = std::strrchr(path, '/');
    const std::size_t length = slash ? static_cast<std::size_t>(slash - path) + 1 : 0;
    if (length >= sizeof folder) return;
    std::memcpy(folder, path, length);
    folder[length] = '\0';
    const int fd = ::open(length == 0 ? "." : folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    if (LockFolderUntil(fd, wait))
        Handle = fd;
    else
        ::close(fd);
}

FileLock::~FileLock() {
    if (IsHeld()) ::close(static_cast<int>(Handle));  // closing drops the lock
}

}  // namespace qv
