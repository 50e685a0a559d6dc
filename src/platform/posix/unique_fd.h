// A file descriptor that closes itself: owned by one object at a time, handed
// on by moving. Closing keeps errno, so that the cause of the failure that
// ends a function's use of a file survives the close. Heap-free and
// async-signal-safe: the report of a fault uses it.
#pragma once

#include <unistd.h>

#include "platform/posix/system_call.h"

namespace qv {

class UniqueFd {
  public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : Fd(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : Fd(other.Release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    ~UniqueFd() { Reset(); }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int Get() const { return Fd; }
    bool IsOpen() const { return Fd >= 0; }

    // Gives up ownership without closing.
    int Release() {
        const int fd = Fd;
        Fd = -1;
        return fd;
    }

    // Closes the descriptor held (errno kept) and takes `fd` instead.
    void Reset(int fd = -1) {
        if (Fd >= 0) {
            const SavedErrno kept;
            ::close(Fd);  // never again after EINTR: Linux has closed it already
        }
        Fd = fd;
    }

    // Closes it and tells whether that succeeded: a file system may report a
    // write it could not complete only as the file is closed.
    bool Close() {
        const int fd = Release();
        return fd < 0 || ::close(fd) == 0;
    }

  private:
    int Fd = -1;
};

}  // namespace qv
