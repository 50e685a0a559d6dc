#include "platform/posix/cgroup_memory.h"

#include "platform/posix/read_file.h"

namespace qv {
namespace {

// The files of the memory controller that count here, by version.
struct ControllerFiles {
    const char* Limit;
    const char* Usage;
    const char* InactiveFileKey;  // of memory.stat
    const char* SwapLimit;
    const char* SwapUsage;
};

constexpr ControllerFiles kV1Files{"memory.limit_in_bytes", "memory.usage_in_bytes",
                                   "total_inactive_file", "memory.memsw.limit_in_bytes",
                                   "memory.memsw.usage_in_bytes"};
constexpr ControllerFiles kV2Files{"memory.max", "memory.current", "inactive_file",
                                   "memory.swap.max", "memory.swap.current"};

// Cgroup files are a line; memory.stat a few dozen. More is not a cgroup file.
constexpr std::size_t kFileLimit = std::size_t{64} * 1024;

const ControllerFiles& FilesOf(CgroupVersion version) {
    return version == CgroupVersion::V1 ? kV1Files : kV2Files;
}

std::optional<std::string> ReadIn(const std::string& folder, const char* name) {
    return ReadWholeFile((folder + '/' + name).c_str(), kFileLimit);
}

std::optional<std::uint64_t> NumberIn(const std::string& folder, const char* name) {
    const std::optional<std::string> text = ReadIn(folder, name);
    return text ? CgroupNumber(*text) : std::nullopt;
}

CgroupLevel ReadLimits(const std::string& folder, CgroupVersion version) {
    const ControllerFiles& files = FilesOf(version);
    CgroupLevel level;
    level.Limit = NumberIn(folder, files.Limit);
    level.SwapLimit = NumberIn(folder, files.SwapLimit);
    level.SwapIncludesMemory = version == CgroupVersion::V1;
    return level;
}

}  // namespace

MemoryCgroups FindMemoryCgroups(const std::string& root) {
    const std::optional<std::string> cgroups = ReadWholeFile((root + "/proc/self/cgroup").c_str());
    if (!cgroups) return {};
    const std::optional<CgroupMembership> membership = MemoryCgroupOf(*cgroups);
    if (!membership) return {};
    const std::optional<std::string> mountinfo =
        ReadWholeFile((root + "/proc/self/mountinfo").c_str());
    if (!mountinfo) return {};
    std::optional<CgroupMount> mount = CgroupMountOf(*mountinfo, *membership);
    if (!mount) return {};
    mount->MountPoint.insert(0, root);
    return {membership->Version, CgroupFolders(*mount, membership->Path)};
}

CgroupLevel ReadCgroupLevel(const std::string& folder, CgroupVersion version) {
    const ControllerFiles& files = FilesOf(version);
    CgroupLevel level = ReadLimits(folder, version);
    level.Usage = NumberIn(folder, files.Usage);
    if (const std::optional<std::string> stat = ReadIn(folder, "memory.stat"))
        level.InactiveFile = CgroupStat(*stat, files.InactiveFileKey);
    level.SwapUsage = NumberIn(folder, files.SwapUsage);
    return level;
}

std::vector<CgroupLevel> ReadLimitingCgroups(std::uint64_t memTotal, std::uint64_t swapTotal) {
    struct Limiting {
        CgroupVersion Version = CgroupVersion::V2;
        std::vector<std::string> Folders;
    };
    static const Limiting limiting = [memTotal, swapTotal] {
        const MemoryCgroups cgroups = FindMemoryCgroups();
        Limiting found{cgroups.Version, {}};
        for (const std::string& folder : cgroups.Folders)
            if (SetsALimit(ReadLimits(folder, cgroups.Version), memTotal, swapTotal))
                found.Folders.push_back(folder);
        return found;
    }();
    std::vector<CgroupLevel> levels;
    levels.reserve(limiting.Folders.size());
    for (const std::string& folder : limiting.Folders)
        levels.push_back(ReadCgroupLevel(folder, limiting.Version));
    return levels;
}

}  // namespace qv
