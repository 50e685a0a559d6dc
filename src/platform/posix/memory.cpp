#include "platform/memory.h"

#include <fcntl.h>

#include "platform/posix/proc_text.h"
#include "platform/posix/read_file.h"

namespace qv {

// MemAvailable is what a new program can have without swapping: the free
// physical memory users mean. The paging store is the swap space.
MemoryStatus QueryMemoryStatus() {
    MemoryStatus status;
    // Kept open: each report line asks afresh, and a read from the start of the
    // open file gives the kernel's current figures without opening it again.
    static const int meminfoFd = ::open("/proc/meminfo", O_RDONLY | O_CLOEXEC);
    const std::optional<std::string> meminfo =
        meminfoFd < 0 ? std::nullopt : ReadFromStart(meminfoFd);
    if (!meminfo) return status;
    const auto available = MeminfoBytes(*meminfo, "MemAvailable");
    status.availPhys = available ? *available : MeminfoBytes(*meminfo, "MemFree").value_or(0);
    status.totalPageFile = MeminfoBytes(*meminfo, "SwapTotal").value_or(0);
    status.availPageFile = MeminfoBytes(*meminfo, "SwapFree").value_or(0);
    return status;
}

}  // namespace qv
