#include "platform/posix/file_helpers.h"

#include <sys/file.h>

#include <cerrno>

namespace qv {

std::string DirectoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool LockExclusive(int fd) {
    int locked;
    do {
        locked = ::flock(fd, LOCK_EX);
    } while (locked != 0 && errno == EINTR);
    return locked == 0;
}

}  // namespace qv
