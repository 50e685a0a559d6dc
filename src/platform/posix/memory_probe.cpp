#include "platform/memory_probe.h"

#include <fcntl.h>
#include <unistd.h>

#include "platform/posix/unique_fd.h"

namespace qv {

// The kernel copies what is written to a pipe from the writer's memory and
// answers EFAULT for an unreadable address instead of raising a signal. A pipe
// of its own for each read keeps concurrent callers apart; all of pipe, write,
// read and close are async-signal-safe.
bool ReadMemory(std::uintptr_t address, void* out, std::size_t size) {
    const SavedErrno kept;
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) return false;
    const UniqueFd reader(ends[0]), writer(ends[1]);
    // NOLINTNEXTLINE(performance-no-int-to-ptr): the address comes from a register
    const ssize_t written = ::write(writer.Get(), reinterpret_cast<const void*>(address), size);
    return written == static_cast<ssize_t>(size) &&
           ::read(reader.Get(), out, size) == static_cast<ssize_t>(size);
}

}  // namespace qv
