#include "platform/file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/posix/file_helpers.h"

namespace qv {

std::int64_t FileSize(const char* path) {
    struct stat status {};
    if (::stat(path, &status) != 0) return -1;
    return static_cast<std::int64_t>(status.st_size);
}

// O_NOFOLLOW: a symbolic link planted at the log's name is refused, not written
// through. O_APPEND and a single write keep entries of several processes whole.
bool AppendToFile(const char* path, const char* text, std::size_t length) {
    const int fd = ::open(path, O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) return false;
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

// The lock is on the file's folder: the file itself may be renamed away (a
// rotated log), its folder stays where it is.
FileLock::FileLock(const std::string& path, std::chrono::milliseconds wait) {
    const std::string folder = DirectoryOf(path);
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    if (LockExclusive(fd, wait))
        Handle = fd;
    else
        ::close(fd);
}

FileLock::~FileLock() {
    if (IsHeld()) ::close(static_cast<int>(Handle));  // closing drops the lock
}

}  // namespace qv
