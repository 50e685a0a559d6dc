#include "platform/file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstring>

#include "platform/posix/lock_wait.h"
#include "platform/posix/unique_fd.h"

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
    UniqueFd file(
        ::open(path, O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644));
    if (!file.IsOpen()) return false;
    struct stat status {};
    if (::fstat(file.Get(), &status) != 0 || !S_ISREG(status.st_mode)) return false;
    const ssize_t written = RetryAfterSignal([&] { return ::write(file.Get(), text, length); });
    return file.Close() && written == static_cast<ssize_t>(length);
}

bool RemoveFile(const char* path) {
    return ::unlink(path) == 0;
}

bool RenameFile(const char* from, const char* to) {
    return ::rename(from, to) == 0;
}

// The lock is on the file's folder: the file itself may be renamed away (a
// rotated log), its folder stays where it is.
PathLock::PathLock(const char* path, std::chrono::milliseconds wait) {
    char folder[PATH_MAX];
    const char* slash = std::strrchr(path, '/');
    const std::size_t length = slash ? static_cast<std::size_t>(slash - path) + 1 : 0;
    if (length >= sizeof folder) return;
    std::memcpy(folder, path, length);
    folder[length] = '\0';
    UniqueFd fd(::open(length == 0 ? "." : folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.IsOpen() && LockExclusive(fd.Get(), wait)) Handle = fd.Release();
}

PathLock::~PathLock() {
    const UniqueFd folder(static_cast<int>(Handle));  // closing drops the lock
}

}  // namespace qv
