#include "platform/memory_probe.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace qv {

// The kernel copies what is written to a pipe from the writer's memory and
// answers EFAULT for an unreadable address instead of raising a signal. A pipe
// of its own for each read keeps concurrent callers apart; all of pipe, write,
// read and close are async-signal-safe.
bool ReadMemory(std::uintptr_t address, void* out, std::size_t size) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) return false;
    const int savedErrno = errno;
    // NOLINTNEXTLINE(performance-no-int-to-ptr): the address comes from a register
    const ssize_t written = ::write(ends[1], reinterpret_cast<const void*>(address), size);
    const bool copied = written == static_cast<ssize_t>(size) &&
                        ::read(ends[0], out, size) == static_cast<ssize_t>(size);
    ::close(ends[0]);
    ::close(ends[1]);
    errno = savedErrno;
    return copied;
}

}  // namespace qv
