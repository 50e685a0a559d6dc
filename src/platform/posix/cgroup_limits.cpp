#include "platform/posix/cgroup_limits.h"

#include <algorithm>

namespace qv {
namespace {

std::uint64_t Less(std::uint64_t value, std::uint64_t taken) {
    return value > taken ? value - taken : 0;
}

// What the cgroup still lets its processes have; nothing when it sets no limit.
std::optional<std::uint64_t> MemoryRoom(const CgroupLevel& level, std::uint64_t memTotal) {
    if (!level.Limit || *level.Limit >= memTotal) return std::nullopt;
    const std::uint64_t usage = level.Usage.value_or(0);
    const std::uint64_t workingSet = Less(usage, level.InactiveFile.value_or(0));
    return Less(*level.Limit, workingSet);
}

struct SwapBound {
    std::uint64_t Limit = 0;
    std::uint64_t Used = 0;
};

// Version 1 limits memory and swap together: the swap's share is what that
// limit allows beyond the memory limit, its use what is used beyond memory.
std::optional<SwapBound> SwapOf(const CgroupLevel& level, std::uint64_t memTotal,
                                std::uint64_t swapTotal) {
    if (!level.SwapLimit) return std::nullopt;
    SwapBound bound{*level.SwapLimit, level.SwapUsage.value_or(0)};
    if (level.SwapIncludesMemory) {
        if (!level.Limit || *level.Limit >= memTotal) return std::nullopt;
        bound.Limit = Less(bound.Limit, *level.Limit);
        bound.Used = Less(bound.Used, level.Usage.value_or(0));
    }
    if (bound.Limit >= swapTotal) return std::nullopt;
    return bound;
}

}  // namespace

bool SetsALimit(const CgroupLevel& level, std::uint64_t memTotal, std::uint64_t swapTotal) {
    return MemoryRoom(level, memTotal) || LimitsSwap(level, memTotal, swapTotal);
}

bool LimitsSwap(const CgroupLevel& level, std::uint64_t memTotal, std::uint64_t swapTotal) {
    return SwapOf(level, memTotal, swapTotal).has_value();
}

MemoryStatus WithinCgroupLimits(MemoryStatus system, std::uint64_t memTotal,
                                std::span<const CgroupLevel> levels) {
    MemoryStatus status = system;
    for (const CgroupLevel& level : levels) {
        if (const auto room = MemoryRoom(level, memTotal))
            status.availPhys = std::min(status.availPhys, *room);
        if (const auto swap = SwapOf(level, memTotal, system.totalPageFile)) {
            status.totalPageFile = std::min(status.totalPageFile, swap->Limit);
            status.availPageFile = std::min(status.availPageFile, Less(swap->Limit, swap->Used));
        }
    }
    status.availPageFile = std::min(status.availPageFile, status.totalPageFile);
    return status;
}

}  // namespace qv
