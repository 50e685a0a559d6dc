#include "platform/posix/read_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/posix/unique_fd.h"
#include "platform/problem.h"

namespace qv {
namespace {

constexpr std::size_t kChunk = 8192;

// A regular file's size is known: the text takes exactly its room and is read
// in one go. Files under /proc report none and are measured as they are read.
std::optional<std::size_t> RegularFileSize(int fd) {
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
    return static_cast<std::size_t>(status.st_size);
}

}  // namespace

std::optional<std::string> ReadFromStart(int fd, std::size_t limit) {
    const std::optional<std::size_t> size = RegularFileSize(fd);
    if (size && *size > limit) {
        errno = EFBIG;
        return std::nullopt;
    }
    // One byte more than the size, so that the read that finds the end is the
    // next one. Files under /proc are regular files of size 0.
    std::string text(size && *size > 0 ? *size + 1 : kChunk, '\0');
    std::size_t length = 0;
    for (;;) {
        if (length == text.size()) text.resize(text.size() + std::max(text.size(), kChunk));
        const ssize_t got = RetryAfterSignal([&] {
            return ::pread(fd, text.data() + length, text.size() - length,
                           static_cast<off_t>(length));
        });
        if (got < 0) return std::nullopt;
        if (got == 0) break;
        length += static_cast<std::size_t>(got);
        if (length > limit) {
            errno = EFBIG;
            return std::nullopt;
        }
    }
    text.resize(length);
    return text;
}

// O_NONBLOCK makes the open itself return at once; it is cleared again (it is
// the only status flag set) once the file is known to be regular: some
// regular files honour it (a FUSE file system is handed the open's flags;
// /proc/kmsg answers EAGAIN with it), and must read as they would without.
// O_NOCTTY: a terminal never becomes the program's.
int OpenRegularFile(const char* path, bool readWrite) {
    UniqueFd fd(::open(path, (readWrite ? O_RDWR : O_RDONLY) | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.IsOpen()) return -1;
    struct stat status {};
    const bool examined = ::fstat(fd.Get(), &status) == 0;
    if (examined && S_ISREG(status.st_mode) && ::fcntl(fd.Get(), F_SETFL, 0) == 0)
        return fd.Release();
    fd.Reset();
    if (examined && !S_ISREG(status.st_mode)) {
        ReportProblem("OpenRegularFile: '%s' is no regular file; it is passed over.", path);
        errno = EINVAL;
    }
    return -1;
}

std::optional<std::string> ReadWholeFile(const char* path, std::size_t limit) {
    const UniqueFd fd(OpenRegularFile(path));
    if (!fd.IsOpen()) return std::nullopt;
    return ReadFromStart(fd.Get(), limit);
}

}  // namespace qv
