// The memory cgroup parsers on any texts: /proc/self/cgroup, mountinfo and a
// memory.stat, separated by zero bytes; the folders found and the figures
// parsed are narrowed as the report narrows the machine's.
#include <cstdint>
#include <string_view>

#include "fuzz_input.h"
#include "platform/posix/cgroup_limits.h"
#include "platform/posix/cgroup_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto [cgroup, mountinfo, stat] = Parts<3>(data, size);
    if (const auto membership = qv::MemoryCgroupOf(cgroup))
        if (const auto mount = qv::CgroupMountOf(mountinfo, *membership))
            (void)qv::CgroupFolders(*mount, membership->Path);
    qv::CgroupLevel level;
    level.Limit = qv::CgroupNumber(stat);
    level.Usage = qv::CgroupStat(stat, "anon");
    level.InactiveFile = qv::CgroupStat(stat, "inactive_file");
    level.SwapLimit = qv::CgroupStat(stat, "hierarchical_memsw_limit");
    level.SwapUsage = qv::CgroupStat(stat, "swap");
    level.SwapIncludesMemory = size % 2 == 0;
    const qv::MemoryStatus machine{size, size / 2, size / 3};
    (void)qv::WithinCgroupLimits(machine, level.Usage.value_or(size), {&level, 1});
    return 0;
}
