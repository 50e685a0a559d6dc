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
    std::size_t UpperLayer;  // of an overlay: the mount holding its upper layer, or kNone
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

void MergeInto(Shown& into, const Shown& other, const std::vector<MountEntry>& mounts) {
    into.Kind = MergedKind(into.Kind, other.Kind);
    if (ShowsBetter(mounts[other.Index], mounts[into.Index])) {
        into.Index = other.Index;
        into.Space = other.Space;
    }
}

// Each store once: the candidates that statfs shows to be one are merged
// into the one that shows it best.
std::vector<Shown> MergeSameFileSystems(const std::vector<MountEntry>& mounts,
                                        const std::vector<Shown>& shown) {
    std::vector<Shown> merged;
    merged.reserve(shown.size());
    std::unordered_map<FileSystemIdentity, std::size_t, IdentityHash> seen;
    for (const Shown& volume : shown) {
        const FileSystemIdentity identity{volume.Space.FileSystemId, volume.Space.TotalBlocks};
        const auto [at, first] = seen.emplace(identity, merged.size());
        if (identity.Id == 0 || first)
            merged.push_back(volume);
        else
            MergeInto(merged[at->second], volume, mounts);
    }
    return merged;
}

bool IsOverlay(const MountEntry& mount) {
    return mount.Type == "overlay";
}

bool SameSize(const FreeSpace& a, const FreeSpace& b) {
    return a.TotalBlocks != 0 && a.TotalBlocks == b.TotalBlocks && a.TotalFiles == b.TotalFiles;
}

bool SameDevice(const MountEntry& a, const MountEntry& b) {
    return a.Major == b.Major && a.Minor == b.Minor;
}

// The volume an overlay root writes to: it reports the statfs of its upper
// layer's file system, all but the id, which recent kernels make its own
// (uuid=on). Where the table shows the mount holding that layer (a live
// system's tmpfs), that mount's volume, when its size agrees; else, inside a
// container whose layer lies outside the table, the disk of the table with
// that size, in blocks and in inodes. A tmpfs that a container has mounted
// on the layer's path has a size of its own and is not taken for the layer.
std::size_t LayerOf(const std::vector<MountEntry>& mounts, const std::vector<Shown>& shown,
                    std::size_t overlay) {
    const Shown& root = shown[overlay];
    std::size_t disk = kNone;
    for (std::size_t k = 0; k < shown.size(); ++k) {
        if (k == overlay || IsOverlay(mounts[shown[k].Index]) ||
            !SameSize(root.Space, shown[k].Space))
            continue;
        if (root.UpperLayer != kNone && SameDevice(mounts[shown[k].Index], mounts[root.UpperLayer]))
            return k;
        if (disk == kNone && shown[k].Kind == kFixedDrive) disk = k;
    }
    return disk;
}

std::vector<Shown> MergeOverlaysIntoTheirLayers(const std::vector<MountEntry>& mounts,
                                                std::vector<Shown> shown) {
    std::vector<bool> gone(shown.size(), false);
    for (std::size_t k = 0; k < shown.size(); ++k) {
        if (!IsOverlay(mounts[shown[k].Index])) continue;
        const std::size_t layer = LayerOf(mounts, shown, k);
        if (layer == kNone || gone[layer]) continue;
        MergeInto(shown[k], shown[layer], mounts);
        gone[layer] = true;
    }
    std::vector<Shown> kept;
    kept.reserve(shown.size());
    for (std::size_t k = 0; k < shown.size(); ++k)
        if (!gone[k]) kept.push_back(shown[k]);
    return kept;
}

}  // namespace

std::vector<Volume> VolumesOfMountTable(std::string_view mountInfo, MountFacts& facts) {
    return VolumesOfMountTable(ParseMountInfo(mountInfo), facts);
}

std::vector<Volume> VolumesOfMountTable(MountTable table, MountFacts& facts) {
    if (!CoversRoot(table.Mounts))
        if (std::optional<MountEntry> root = facts.UncoveredRoot(table.Mounts))
            table.Mounts.insert(table.Mounts.begin(), *root);
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
        shown.push_back(
            Shown{candidates[v].Index, candidates[v].Kind, *space[v], candidates[v].UpperLayer});
    }

    std::vector<Volume> volumes;
    for (const Shown& one :
         MergeOverlaysIntoTheirLayers(table.Mounts, MergeSameFileSystems(table.Mounts, shown))) {
        const MountEntry& mount = table.Mounts[one.Index];
        Volume volume;
        volume.Name = std::string(mount.MountPoint);
        volume.FileSystem = std::string(mount.Type);
        volume.DiskLabel = facts.LabelOf(mount);
        volume.Kind = one.Kind;
        volume.FreeBytes = one.Space.FreeBytes;
        volumes.push_back(std::move(volume));
    }
    return volumes;
}

}  // namespace qv
