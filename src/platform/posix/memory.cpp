#include "platform/memory.h"

#include "platform/posix/cgroup_memory.h"
#include "platform/posix/kernel_files.h"

namespace qv {

// Inside a memory cgroup (a container, a systemd unit with MemoryMax=) the
// process may have no more than its cgroups' limits allow, however free the
// machine.
MemoryStatus QueryMemoryStatus() {
    // Never destroyed: the file closes as the process ends, without a system
    // call of ours.
    static const MeminfoFile& meminfo = *new MeminfoFile("");
    MeminfoFigures figures;
    if (!meminfo.Read(figures)) return {};
    return WithinCgroupLimits(figures.Status, figures.MemTotal,
                              ReadLimitingCgroups(figures.MemTotal, figures.Status.totalPageFile));
}

}  // namespace qv
