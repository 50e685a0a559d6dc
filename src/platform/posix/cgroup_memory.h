// Reading the process's memory cgroup and those above it.
#pragma once

#include <string>
#include <vector>

#include "platform/posix/cgroup_limits.h"
#include "platform/posix/cgroup_text.h"

namespace qv {

struct MemoryCgroups {
    CgroupVersion Version = CgroupVersion::V2;
    std::vector<std::string> Folders;  // the process's own first
};

// The folders of the process's memory cgroup and of those above it, found
// through /proc/self/cgroup and /proc/self/mountinfo under `root` ("" for the
// running system; a fixture's folder in tests). None on a system without
// cgroups or where the hierarchy is not mounted in sight; an unreadable
// /proc/self/cgroup is reported.
MemoryCgroups FindMemoryCgroups(const std::string& root = "");

// The figures of one cgroup folder; a file that cannot be read leaves its
// figure out, which counts as no limit.
CgroupLevel ReadCgroupLevel(const std::string& folder, CgroupVersion version);

// The cgroups that set a limit, read afresh: which of them do is found once
// per process, since the report reads its memory status for several lines.
std::vector<CgroupLevel> ReadLimitingCgroups(std::uint64_t memTotal, std::uint64_t swapTotal);

}  // namespace qv
