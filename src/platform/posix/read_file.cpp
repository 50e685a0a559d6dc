#include "platform/posix/read_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace qv {

std::optional<std::string> ReadFromStart(int fd, std::size_t limit) {
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
