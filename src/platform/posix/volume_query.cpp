#include "platform/posix/volume_query.h"

#include <utility>

namespace qv {

std::vector<Volume> VolumesOfMountTable(std::string_view mountInfo, MountFacts& facts) {
    const MountTable table = ParseMountInfo(mountInfo);
    const std::vector<VolumeCandidate> candidates =
        ChooseVolumes(table.Mounts, [&](const MountEntry& mount) { return facts.DeviceOf(mount); });
    std::vector<std::size_t> indexes;
    indexes.reserve(candidates.size());
    for (const VolumeCandidate& candidate : candidates) indexes.push_back(candidate.Index);
    const std::vector<std::optional<FreeSpace>> space = facts.SpaceOf(table.Mounts, indexes);

    std::vector<Volume> volumes;
    for (std::size_t v = 0; v < candidates.size(); ++v) {
        const MountEntry& mount = table.Mounts[candidates[v].Index];
        if (!space[v] || (space[v]->TotalBlocks == 0 && !ListedWithoutBlocks(mount))) continue;
        Volume volume;
        volume.Name = mount.MountPoint;
        volume.FileSystem = mount.Type;
        volume.DiskLabel = facts.LabelOf(mount);
        volume.Kind = candidates[v].Kind;
        volume.FreeBytes = space[v]->FreeBytes;
        volumes.push_back(std::move(volume));
    }
    return volumes;
}

}  // namespace qv
