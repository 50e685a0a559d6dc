#include "platform/posix/cgroup_memory.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "platform/posix/read_file.h"
#include "platform/posix/unique_fd.h"
#include "platform/problem.h"

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

std::optional<std::uint64_t> NumberIn(const std::string& folder, const char* name) {
    const std::optional<std::string> text =
        ReadWholeFile((folder + '/' + name).c_str(), kFileLimit);
    return text ? CgroupNumber(*text) : std::nullopt;
}

// Version 1 limits swap only together with memory: without a memory limit
// its memsw limit is not read (a cgroup read costs a few system calls).
CgroupLevel ReadLimits(const std::string& folder, CgroupVersion version, std::uint64_t memTotal) {
    const ControllerFiles& files = FilesOf(version);
    CgroupLevel level;
    level.Limit = NumberIn(folder, files.Limit);
    level.SwapIncludesMemory = version == CgroupVersion::V1;
    if (!level.SwapIncludesMemory || (level.Limit && *level.Limit < memTotal))
        level.SwapLimit = NumberIn(folder, files.SwapLimit);
    return level;
}

// The files of a cgroup's changing figures. A read from the start of an open
// file gives the kernel's current figures with a third of the system calls
// of opening it again.
struct FigureFiles {
    UniqueFd Usage;
    UniqueFd Stat;
    UniqueFd SwapUsage;
};

// The swap usage only where a swap limit counts.
FigureFiles OpenFigureFiles(const std::string& folder, CgroupVersion version, bool swap) {
    const ControllerFiles& files = FilesOf(version);
    const auto open = [&folder](const char* name) {
        return UniqueFd(::open((folder + '/' + name).c_str(), O_RDONLY | O_CLOEXEC));
    };
    return {open(files.Usage), open("memory.stat"), swap ? open(files.SwapUsage) : UniqueFd()};
}

std::optional<std::string> ReadOpen(const UniqueFd& fd) {
    return fd.IsOpen() ? ReadKernelFileFromStart(fd.Get(), kFileLimit) : std::nullopt;
}

std::optional<std::uint64_t> NumberOf(const std::optional<std::string>& text) {
    return text ? CgroupNumber(*text) : std::nullopt;
}

CgroupLevel ReadFigures(CgroupLevel limits, const FigureFiles& files, CgroupVersion version) {
    CgroupLevel level = limits;
    level.Usage = NumberOf(ReadOpen(files.Usage));
    if (const std::optional<std::string> stat = ReadOpen(files.Stat))
        level.InactiveFile = CgroupStat(*stat, FilesOf(version).InactiveFileKey);
    level.SwapUsage = NumberOf(ReadOpen(files.SwapUsage));
    return level;
}

// The hierarchy where systemd and the container runtimes mount it, when a
// cgroup file system of that version is there and shows the process's cgroup
// at its path: the whole hierarchy, or a container's own with the path "/".
// Reading mountinfo costs more than all the rest of the memory figures (the
// kernel resolves the path of every mount), so it is read only where the
// usual place does not show the cgroup: a hierarchy mounted elsewhere, or a
// container's cgroup mounted as the root of it without a namespace.
std::optional<CgroupMount> UsualMount(const std::string& root, const CgroupMembership& membership) {
    const bool v1 = membership.Version == CgroupVersion::V1;
    const std::string point = root + (v1 ? "/sys/fs/cgroup/memory" : "/sys/fs/cgroup");
    struct statfs system {};
    if (::statfs(point.c_str(), &system) != 0 ||
        system.f_type != (v1 ? CGROUP_SUPER_MAGIC : CGROUP2_SUPER_MAGIC))
        return std::nullopt;
    struct stat folder {};
    if (::stat((point + membership.Path).c_str(), &folder) != 0 || !S_ISDIR(folder.st_mode))
        return std::nullopt;
    return CgroupMount{"/", point};
}

std::optional<CgroupMount> MountInMountinfo(const std::string& root,
                                            const CgroupMembership& membership) {
    const std::optional<std::string> mountinfo =
        ReadWholeFile((root + "/proc/self/mountinfo").c_str());
    if (!mountinfo) return std::nullopt;
    std::optional<CgroupMount> mount = CgroupMountOf(*mountinfo, membership);
    if (mount) mount->MountPoint.insert(0, root);
    return mount;
}

}  // namespace

MemoryCgroups FindMemoryCgroups(const std::string& root) {
    const std::string path = root + "/proc/self/cgroup";
    const std::optional<std::string> cgroups = ReadWholeFile(path.c_str());
    if (!cgroups) {
        ReportProblem("QueryMemoryStatus: %s cannot be read (%s); no cgroup limit is applied.",
                      path.c_str(), std::strerror(errno));
        return {};
    }
    const std::optional<CgroupMembership> membership = MemoryCgroupOf(*cgroups);
    if (!membership) return {};
    std::optional<CgroupMount> mount = UsualMount(root, *membership);
    if (!mount) mount = MountInMountinfo(root, *membership);
    if (!mount) return {};
    return {membership->Version, CgroupFolders(*mount, membership->Path)};
}

CgroupLevel ReadCgroupLevel(const std::string& folder, CgroupVersion version) {
    const CgroupLevel limits = ReadLimits(folder, version, UINT64_MAX);
    const FigureFiles files = OpenFigureFiles(folder, version, limits.SwapLimit.has_value());
    return ReadFigures(limits, files, version);
}

std::vector<CgroupLevel> ReadLimitingCgroups(std::uint64_t memTotal, std::uint64_t swapTotal) {
    struct Limiting {
        CgroupLevel Limits;
        FigureFiles Files;  // kept open, as /proc/meminfo is
        CgroupVersion Version;
    };
    // Never destroyed: the files close as the process ends, without a system
    // call of ours.
    static const std::vector<Limiting>& limiting =
        *new std::vector<Limiting>([memTotal, swapTotal] {
            const MemoryCgroups cgroups = FindMemoryCgroups();
            std::vector<Limiting> found;
            for (const std::string& folder : cgroups.Folders) {
                CgroupLevel limits = ReadLimits(folder, cgroups.Version, memTotal);
                if (!SetsALimit(limits, memTotal, swapTotal)) continue;
                // A swap limit of the machine's size or more needs no swap usage.
                if (!LimitsSwap(limits, memTotal, swapTotal)) limits.SwapLimit.reset();
                found.push_back(
                    {limits, OpenFigureFiles(folder, cgroups.Version, limits.SwapLimit.has_value()),
                     cgroups.Version});
            }
            return found;
        }());
    std::vector<CgroupLevel> levels;
    levels.reserve(limiting.size());
    for (const Limiting& cgroup : limiting)
        levels.push_back(ReadFigures(cgroup.Limits, cgroup.Files, cgroup.Version));
    return levels;
}

}  // namespace qv
