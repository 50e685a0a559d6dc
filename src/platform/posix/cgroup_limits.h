// The memory status of the machine narrowed to what the process's memory
// cgroups let it have.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "platform/memory.h"

namespace qv {

// The figures of one memory cgroup, in bytes; nothing where its file could not
// be read or sets no limit ("max").
struct CgroupLevel {
    std::optional<std::uint64_t> Limit;         // memory.max, memory.limit_in_bytes
    std::optional<std::uint64_t> Usage;         // memory.current, memory.usage_in_bytes
    std::optional<std::uint64_t> InactiveFile;  // (total_)inactive_file of memory.stat
    // Version 2: the swap alone (memory.swap.max, memory.swap.current).
    // Version 1: memory and swap together (memory.memsw.*).
    std::optional<std::uint64_t> SwapLimit;
    std::optional<std::uint64_t> SwapUsage;
    bool SwapIncludesMemory = false;  // version 1
};

// Whether the cgroup limits memory or swap below the machine's own.
bool SetsALimit(const CgroupLevel& level, std::uint64_t memTotal, std::uint64_t swapTotal);
// Whether it limits swap below the machine's.
bool LimitsSwap(const CgroupLevel& level, std::uint64_t memTotal, std::uint64_t swapTotal);

// The machine's figures as the process may really use them: free physical
// memory no more than the tightest memory limit less that cgroup's working
// set (usage less inactive file cache, as the kubelet counts it), the paging
// store no larger than the tightest swap limit and its free space no more
// than any swap limit less that cgroup's swap usage. A limit of the machine's
// size or more is no limit; a usage that cannot be read counts as none.
MemoryStatus WithinCgroupLimits(MemoryStatus system, std::uint64_t memTotal,
                                std::span<const CgroupLevel> levels);

}  // namespace qv
