// The small habits every system call of the POSIX code shares: a call cut
// short by a signal is made again, a write goes on until all is written, and
// errno survives the clean-up after a failure. Only system calls, no heap:
// the report of a fault uses them from a signal handler.
#pragma once

#include <unistd.h>

#include <cerrno>
#include <cstddef>

namespace qv {

// Makes the call again while it fails with EINTR; its result otherwise. Every
// call wrapped here answers a failure with -1.
template <typename Call>
auto RetryAfterSignal(const Call& call) -> decltype(call()) {
    decltype(call()) result;
    do {
        result = call();
    } while (result == -1 && errno == EINTR);
    return result;
}

// Writes all `size` bytes, at `offset` onwards (pwrite) or, for a negative
// offset, at the file's position (write). False, with errno set, when a write
// fails or writes nothing.
inline bool WriteAll(int fd, const char* data, std::size_t size, off_t offset = -1) {
    while (size > 0) {
        const ssize_t written = RetryAfterSignal([&] {
            return offset < 0 ? ::write(fd, data, size) : ::pwrite(fd, data, size, offset);
        });
        if (written <= 0) return false;
        data += written;
        size -= static_cast<std::size_t>(written);
        if (offset >= 0) offset += written;
    }
    return true;
}

// Keeps errno as it was at its creation through its scope: the clean-up after
// a failure (a close, a removal) must not hide the failure's cause, nor a
// signal handler change what the interrupted code reads.
class SavedErrno {
  public:
    SavedErrno() : Saved(errno) {}
    ~SavedErrno() { errno = Saved; }
    SavedErrno(const SavedErrno&) = delete;
    SavedErrno& operator=(const SavedErrno&) = delete;

  private:
    int Saved;
};

}  // namespace qv
