#include "platform/posix/read_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/posix/unique_fd.h"
#include "platform/problem.h"

namespace qv {
namespace {

constexpr std::size_t kChunk = 8192;

// A regular file's size is known: the text takes exactly its room and is read
// in one go. Files under /proc report none and are measured as they are read.
std::optional<std::size_t> RegularFileSize(const struct stat& status) {
    if (!S_ISREG(status.st_mode)) return std::nullopt;
    return static_cast<std::size_t>(status.st_size);
}

std::optional<std::size_t> RegularFileSize(int fd) {
    struct stat status {};
    if (::fstat(fd, &status) != 0) return std::nullopt;
    return RegularFileSize(status);
}

enum class Filling { AtEnd, Full, Failed };

// Reads at `length` onwards into `room` bytes at `data` until the file ends or
// the room is full, keeping `length` up to date; Failed with errno set when a
// read fails or the text passes `limit`.
Filling FillFrom(int fd, char* data, std::size_t room, std::size_t& length, std::size_t limit) {
    while (length < room) {
        const ssize_t got = RetryAfterSignal(
            [&] { return ::pread(fd, data + length, room - length, static_cast<off_t>(length)); });
        if (got < 0) return Filling::Failed;
        if (got == 0) return Filling::AtEnd;
        length += static_cast<std::size_t>(got);
        if (length > limit) {
            errno = EFBIG;
            return Filling::Failed;
        }
    }
    return Filling::Full;
}

// Reads on into a text that starts with `length` bytes read already, doubling
// its room whenever it is full, as few reads as the file's size allows.
std::optional<std::string> ReadOnInto(int fd, std::string text, std::size_t length,
                                      std::size_t limit) {
    for (;;) {
        switch (FillFrom(fd, text.data(), text.size(), length, limit)) {
            case Filling::Failed:
                return std::nullopt;
            case Filling::AtEnd:
                text.resize(length);
                return text;
            case Filling::Full:
                text.resize(text.size() + std::max(text.size(), kChunk));
                break;
        }
    }
}

std::optional<std::string> ReadSized(int fd, std::optional<std::size_t> size, std::size_t limit) {
    if (size && *size > limit) {
        errno = EFBIG;
        return std::nullopt;
    }
    // One byte more than the size, so that the read that finds the end is the
    // next one. Files under /proc are regular files of size 0.
    if (size && *size > 0) return ReadOnInto(fd, std::string(*size + 1, '\0'), 0, limit);
    // A file of unknown size is read into a first chunk on the stack, where no
    // room has to be allocated and zeroed first: most files under /proc fit
    // and are copied out at their length. A larger one goes on in a string
    // of twice the chunk, with the very reads a string from the start makes.
    char chunk[kChunk];
    std::size_t length = 0;
    switch (FillFrom(fd, chunk, kChunk, length, limit)) {
        case Filling::Failed:
            return std::nullopt;
        case Filling::AtEnd:
            return std::string(chunk, length);
        case Filling::Full:
            break;
    }
    std::string text(2 * kChunk, '\0');
    std::memcpy(text.data(), chunk, length);
    return ReadOnInto(fd, std::move(text), length, limit);
}

// Opens the file without waiting and examines it; -1 when it cannot be opened
// or is no regular file.
int OpenExamined(const char* path, bool readWrite, struct stat& status) {
    UniqueFd fd(::open(path, (readWrite ? O_RDWR : O_RDONLY) | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.IsOpen()) return -1;
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

}  // namespace

std::optional<std::string> ReadFromStart(int fd, std::size_t limit) {
    return ReadSized(fd, RegularFileSize(fd), limit);
}

std::optional<std::string> ReadKernelFileFromStart(int fd, std::size_t limit) {
    return ReadSized(fd, std::nullopt, limit);
}

// O_NONBLOCK makes the open itself return at once; it is cleared again (it is
// the only status flag set) once the file is known to be regular: some
// regular files honour it (a FUSE file system is handed the open's flags;
// /proc/kmsg answers EAGAIN with it), and must read as they would without.
// O_NOCTTY: a terminal never becomes the program's.
int OpenRegularFile(const char* path, bool readWrite) {
    struct stat status {};
    return OpenExamined(path, readWrite, status);
}

// The size comes from the open's own examination: a second fstat would tell
// nothing new.
std::optional<std::string> ReadWholeFile(const char* path, std::size_t limit) {
    struct stat status {};
    const UniqueFd fd(OpenExamined(path, false, status));
    if (!fd.IsOpen()) return std::nullopt;
    return ReadSized(fd.Get(), RegularFileSize(status), limit);
}

}  // namespace qv
