#include "platform/posix/volume_query.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <utility>

namespace qv {
namespace {

bool CoversRoot(const std::vector<MountEntry>& mounts) {
    return std::any_of(mounts.begin(), mounts.end(),
                       [](const MountEntry& mount) { return mount.MountPoint == "/"; });
}

struct Shown {
    std::size_t Index;  // of the mount in the table
    DriveKind Kind;
    FreeSpace Space;
};

// statfs tells two mounts to be one file system where the device numbers do
// not: a container's overlay root and the host disk's files bound into it
// (/etc/hosts, volumes) report the file-system id and size of that disk. An
// id of 0 tells nothing (FUSE, most network file systems).
struct FileSystemIdentity {
    std::uint64_t Id;
    std::uint64_t Blocks;
    bool operator==(const FileSystemIdentity&) const = default;
};

struct IdentityHash {
    std::size_t operator()(const FileSystemIdentity& identity) const {
        return std::hash<std::uint64_t>()(identity.Id ^ (identity.Blocks * 0x9E3779B97F4A7C15ULL));
    }
};

// Each store once: the candidates that statfs shows to be one are merged
// into the one that shows it best.
std::vector<Shown> MergeSameFileSystems(const std::vector<MountEntry>& mounts,
                                        std::vector<Shown> shown) {
    std::vector<Shown> merged;
    merged.reserve(shown.size());
    std::unordered_map<FileSystemIdentity, std::size_t, IdentityHash> seen;
    for (const Shown& volume : shown) {
        const FileSystemIdentity identity{volume.Space.FileSystemId, volume.Space.TotalBlocks};
        const auto [at, first] = seen.emplace(identity, merged.size());
        if (identity.Id == 0 || first) {
            merged.push_back(volume);
            continue;
        }
        Shown& same = merged[at->second];
        same.Kind = MergedKind(same.Kind, volume.Kind);
        if (ShowsBetter(mounts[volume.Index], mounts[same.Index])) {
            same.Index = volume.Index;
            same.Space = volume.Space;
        }
    }
    return merged;
}

}  // namespace

std::vector<Volume> VolumesOfMountTable(std::string_view mountInfo, MountFacts& facts) {
    return VolumesOfMountTable(ParseMountInfo(mountInfo), facts);
}

std::vector<Volume> VolumesOfMountTable(MountTable table, MountFacts& facts) {
    if (!CoversRoot(table.Mounts))
        if (std::optional<MountEntry> root = facts.UncoveredRoot(table.Mounts))
            table.Mounts.insert(table.Mounts.begin(), std::move(*root));
    const std::vector<VolumeCandidate> candidates =
        ChooseVolumes(table.Mounts, [&](const MountEntry& mount) { return facts.DeviceOf(mount); });
    std::vector<std::size_t> indexes;
    indexes.reserve(candidates.size());
    for (const VolumeCandidate& candidate : candidates) indexes.push_back(candidate.Index);
    const std::vector<std::optional<FreeSpace>> space = facts.SpaceOf(table.Mounts, indexes);

    std::vector<Shown> shown;
    shown.reserve(candidates.size());
    for (std::size_t v = 0; v < candidates.size(); ++v) {
        const MountEntry& mount = table.Mounts[candidates[v].Index];
        if (!space[v] || (space[v]->TotalBlocks == 0 && !ListedWithoutBlocks(mount))) continue;
        shown.push_back(Shown{candidates[v].Index, candidates[v].Kind, *space[v]});
    }

    std::vector<Volume> volumes;
    for (const Shown& one : MergeSameFileSystems(table.Mounts, std::move(shown))) {
        const MountEntry& mount = table.Mounts[one.Index];
        Volume volume;
        volume.Name = mount.MountPoint;
        volume.FileSystem = mount.Type;
        volume.DiskLabel = facts.LabelOf(mount);
        volume.Kind = one.Kind;
        volume.FreeBytes = one.Space.FreeBytes;
        volumes.push_back(std::move(volume));
    }
    return volumes;
}

}  // namespace qv
