#include "platform/memory.h"

#include "platform/posix/proc_text.h"
#include "platform/posix/read_file.h"

namespace qv {

// MemAvailable is what a new program can have without swapping: the free
// physical memory users mean. The paging store is the swap space.
MemoryStatus QueryMemoryStatus() {
    MemoryStatus status;
    const std::optional<std::string> meminfo = ReadWholeFile("/proc/meminfo");
    if (!meminfo) return status;
    const auto available = MeminfoBytes(*meminfo, "MemAvailable");
    status.availPhys = available ? *available : MeminfoBytes(*meminfo, "MemFree").value_or(0);
    status.totalPageFile = MeminfoBytes(*meminfo, "SwapTotal").value_or(0);
    status.availPageFile = MeminfoBytes(*meminfo, "SwapFree").value_or(0);
    return status;
}

}  // namespace qv
