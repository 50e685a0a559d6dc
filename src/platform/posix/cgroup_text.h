// Parsers of what the kernel tells of the process's memory cgroup: which
// cgroup it is (/proc/self/cgroup), where its hierarchy is mounted
// (/proc/self/mountinfo), and the figures of its files. They take the text and
// touch nothing else, so that tests feed them fixtures.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// Version 1 hierarchies each hold some controllers; version 2 has one, the
// unified hierarchy, with all of them.
enum class CgroupVersion { V1, V2 };

struct CgroupMembership {
    CgroupVersion Version = CgroupVersion::V2;
    std::string Path;  // as /proc/self/cgroup names it, from the hierarchy's root
};

// The cgroup whose memory controller governs the process: the version 1
// hierarchy that holds "memory" where there is one (a hybrid host binds the
// controller there, and the unified hierarchy then has no memory files), else
// the unified hierarchy ("0::/path"). Nothing when neither is listed, or
// when the cgroup lies outside the process's cgroup namespace ("/../x"),
// where no mount in sight shows it.
std::optional<CgroupMembership> MemoryCgroupOf(std::string_view procSelfCgroup);

struct CgroupMount {
    std::string Root;        // the cgroup the mount shows at its mount point
    std::string MountPoint;  // escapes decoded
};

// The mount of that cgroup's hierarchy in /proc/self/mountinfo ("cgroup" with
// the memory option for version 1, "cgroup2" for version 2) whose root holds
// the cgroup; nothing when no mount shows it.
std::optional<CgroupMount> CgroupMountOf(std::string_view mountinfo,
                                         const CgroupMembership& membership);

// The folders of the cgroup and of each cgroup above it that the mount shows,
// the cgroup's own first and the mount point last. A container's namespaced
// or bind-mounted hierarchy shows its own cgroup at the mount point, and the
// cgroups above it are out of sight.
std::vector<std::string> CgroupFolders(const CgroupMount& mount, std::string_view cgroupPath);

// A number from a cgroup file ("536870912\n"); nothing for "max" (no limit)
// or a text that is no number.
std::optional<std::uint64_t> CgroupNumber(std::string_view text);

// The value of a key in memory.stat ("inactive_file 1234"); nothing when the
// key is missing or its value no number.
std::optional<std::uint64_t> CgroupStat(std::string_view memoryStat, std::string_view key);

}  // namespace qv
