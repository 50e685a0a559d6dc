#include "platform/memory.h"

#include <fcntl.h>

#include "platform/posix/cgroup_memory.h"
#include "platform/posix/proc_text.h"
#include "platform/posix/read_file.h"

namespace qv {

// MemAvailable is what a new program can have without swapping: the free
// physical memory users mean. The paging store is the swap space. Inside a
// memory cgroup (a container, a systemd unit with MemoryMax=) the process
// may have no more than its cgroups' limits allow, however free the machine.
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
    const std::uint64_t memTotal = MeminfoBytes(*meminfo, "MemTotal").value_or(0);
    return WithinCgroupLimits(status, memTotal,
                              ReadLimitingCgroups(memTotal, status.totalPageFile));
}

}  // namespace qv
