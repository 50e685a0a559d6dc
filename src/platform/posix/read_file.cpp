#include "platform/posix/read_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace qv {
namespace {

// A regular file's size tells at once whether it is beyond the limit; files
// under /proc report none and are measured as they are read.
bool KnownToExceed(int fd, std::size_t limit) {
    struct stat status {};
    return limit != SIZE_MAX && ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
           static_cast<std::uintmax_t>(status.st_size) > limit;
}

}  // namespace

std::optional<std::string> ReadFromStart(int fd, std::size_t limit) {
    if (KnownToExceed(fd, limit)) {
        errno = EFBIG;
        return std::nullopt;
    }
    std::string text;
    char chunk[8192];
    for (off_t offset = 0;;) {
        const ssize_t got = ::pread(fd, chunk, sizeof chunk, offset);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return std::nullopt;
        if (got == 0) return text;
        text.append(chunk, static_cast<std::size_t>(got));
        offset += got;
        if (text.size() > limit) {
            errno = EFBIG;
            return std::nullopt;
        }
    }
}

std::optional<std::string> ReadWholeFile(const char* path, std::size_t limit) {
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::optional<std::string> text = ReadFromStart(fd, limit);
    const int error = errno;
    ::close(fd);
    errno = error;
    return text;
}

}  // namespace qv
