#include "platform/volumes.h"

#include <dirent.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <map>
#include <utility>

#include "platform/posix/free_space.h"
#include "platform/posix/mount_table.h"
#include "platform/posix/read_file.h"
#include "platform/posix/volume_kind.h"
#include "platform/posix/volume_query.h"

namespace qv {
namespace {

using DeviceNumber = std::pair<unsigned, unsigned>;

// The block device a file system lives on. btrfs and others show a device
// number of their own in the mount table; their source names the device.
std::optional<DeviceNumber> BlockDeviceOf(const MountEntry& mount) {
    if (mount.Major != 0) return DeviceNumber{mount.Major, mount.Minor};
    if (mount.Source.rfind("/dev/", 0) != 0 || MayHang(mount)) return std::nullopt;
    struct stat info;
    if (::stat(mount.Source.c_str(), &info) != 0 || !S_ISBLK(info.st_mode)) return std::nullopt;
    return DeviceNumber{major(info.st_rdev), minor(info.st_rdev)};
}

std::string DeviceText(const DeviceNumber& device) {
    return std::to_string(device.first) + ":" + std::to_string(device.second);
}

// A device sysfs does not show (a container without /sys) still is a disk.
BlockDeviceFacts ReadBlockDeviceFacts(const DeviceNumber& device) {
    BlockDeviceFacts facts;
    const std::string link = "/sys/dev/block/" + DeviceText(device);
    char resolved[PATH_MAX];
    if (::realpath(link.c_str(), resolved) == nullptr) return facts;
    std::string path = resolved;
    facts.Name = path.substr(path.find_last_of('/') + 1);
    facts.HotPlugged = IsOnHotPlugBus(path);
    struct stat info;
    const bool isPartition = ::stat((path + "/partition").c_str(), &info) == 0;
    const std::string disk = isPartition ? path.substr(0, path.find_last_of('/')) : path;
    const std::optional<std::string> removable = ReadWholeFile((disk + "/removable").c_str());
    facts.Removable = removable && !removable->empty() && (*removable)[0] == '1';
    return facts;
}

// Labels by device: the udev database first, else the by-label links (read
// once for all volumes).
class LabelFinder {
  public:
    std::string LabelOf(const DeviceNumber& device) {
        const std::string record = "/run/udev/data/b" + DeviceText(device);
        if (const std::optional<std::string> text = ReadWholeFile(record.c_str()))
            if (std::optional<std::string> label = UdevLabel(*text)) return *label;
        if (!LinksRead) ReadLabelLinks();
        const auto found = ByLabel.find(device);
        return found == ByLabel.end() ? std::string() : found->second;
    }

  private:
    void ReadLabelLinks() {
        LinksRead = true;
        DIR* dir = ::opendir("/dev/disk/by-label");
        if (dir == nullptr) return;
        while (const dirent* entry = ::readdir(dir)) {
            if (entry->d_name[0] == '.') continue;
            struct stat info;
            if (::fstatat(::dirfd(dir), entry->d_name, &info, 0) != 0 || !S_ISBLK(info.st_mode))
                continue;
            ByLabel.emplace(DeviceNumber{major(info.st_rdev), minor(info.st_rdev)},
                            DecodeHexEscapes(entry->d_name));
        }
        ::closedir(dir);
    }

    bool LinksRead = false;
    std::map<DeviceNumber, std::string> ByLabel;
};

struct Candidate {
    std::size_t Index;  // in the mount table
    DriveKind Kind;
    std::optional<DeviceNumber> Device;
};

// The mount a file system is shown by: its root "/", else the shortest
// mount point, else the first in the table.
bool ShowsBetter(const MountEntry& mount, const MountEntry& chosen) {
    if ((mount.Root == "/") != (chosen.Root == "/")) return mount.Root == "/";
    return mount.MountPoint.size() < chosen.MountPoint.size();
}

// One candidate per file system, in table order of the mount that shows it.
std::vector<Candidate> ChooseVolumes(const std::vector<MountEntry>& mounts) {
    const std::vector<bool> reachable = ReachableMounts(mounts);
    std::map<DeviceNumber, std::size_t> byFileSystem;  // index into chosen
    std::vector<std::optional<Candidate>> chosen(mounts.size());
    std::map<DeviceNumber, BlockDeviceFacts> factsOf;
    for (std::size_t i = 0; i < mounts.size(); ++i) {
        if (!reachable[i]) continue;
        const MountEntry& mount = mounts[i];
        const std::optional<DeviceNumber> device = BlockDeviceOf(mount);
        std::optional<BlockDeviceFacts> facts;
        if (device) {
            auto known = factsOf.find(*device);
            if (known == factsOf.end())
                known = factsOf.emplace(*device, ReadBlockDeviceFacts(*device)).first;
            facts = known->second;
        }
        const DriveKind kind = ClassifyMount(mount, facts);
        if (kind == kOtherDrive) continue;
        const DeviceNumber fileSystem{mount.Major, mount.Minor};
        const auto seen = byFileSystem.find(fileSystem);
        if (seen == byFileSystem.end()) {
            byFileSystem.emplace(fileSystem, i);
            chosen[i] = Candidate{i, kind, device};
        } else if (ShowsBetter(mount, mounts[seen->second])) {
            chosen[seen->second].reset();
            seen->second = i;
            chosen[i] = Candidate{i, kind, device};
        }
    }
    std::vector<Candidate> volumes;
    for (const std::optional<Candidate>& candidate : chosen)
        if (candidate) volumes.push_back(*candidate);
    return volumes;
}

// A mount reached through a network or FUSE mount can hang as well.
bool ReachedThroughHangingMount(const std::vector<MountEntry>& mounts, std::size_t index,
                                const std::map<int, std::size_t>& indexOf) {
    for (std::size_t depth = 0; depth <= mounts.size(); ++depth) {
        if (MayHang(mounts[index])) return true;
        const auto parent = indexOf.find(mounts[index].ParentId);
        if (parent == indexOf.end() || parent->second == index) return false;
        index = parent->second;
    }
    return false;
}

// Free space of every candidate: local ones here, the others in children.
std::vector<std::optional<FreeSpace>> QuerySpace(const std::vector<MountEntry>& mounts,
                                                 const std::vector<Candidate>& volumes,
                                                 std::chrono::milliseconds deadline) {
    std::map<int, std::size_t> indexOf;
    for (std::size_t i = 0; i < mounts.size(); ++i) indexOf[mounts[i].Id] = i;
    std::vector<std::optional<FreeSpace>> space(volumes.size());
    std::vector<std::size_t> slow;
    for (std::size_t v = 0; v < volumes.size(); ++v) {
        if (ReachedThroughHangingMount(mounts, volumes[v].Index, indexOf))
            slow.push_back(v);
        else
            space[v] = QueryFreeSpace(mounts[volumes[v].Index].MountPoint);
    }
    const auto answers = QueryInChildren(
        slow.size(),
        [&](std::size_t k) { return QueryFreeSpace(mounts[volumes[slow[k]].Index].MountPoint); },
        deadline);
    for (std::size_t k = 0; k < slow.size(); ++k) space[slow[k]] = answers[k];
    return space;
}

}  // namespace

std::vector<Volume> VolumesOfMountTable(std::string_view mountInfo,
                                        std::chrono::milliseconds deadline) {
    const MountTable table = ParseMountInfo(mountInfo);
    const std::vector<Candidate> candidates = ChooseVolumes(table.Mounts);
    const std::vector<std::optional<FreeSpace>> space =
        QuerySpace(table.Mounts, candidates, deadline);
    LabelFinder labels;
    std::vector<Volume> volumes;
    for (std::size_t v = 0; v < candidates.size(); ++v) {
        if (!space[v] || space[v]->TotalBlocks == 0) continue;
        const MountEntry& mount = table.Mounts[candidates[v].Index];
        Volume volume;
        volume.Name = mount.MountPoint;
        volume.FileSystem = mount.Type;
        if (candidates[v].Device) volume.DiskLabel = labels.LabelOf(*candidates[v].Device);
        volume.Kind = candidates[v].Kind;
        volume.FreeBytes = space[v]->FreeBytes;
        volumes.push_back(std::move(volume));
    }
    return volumes;
}

std::vector<Volume> QueryVolumes() {
    const std::optional<std::string> mountInfo = ReadWholeFile("/proc/self/mountinfo");
    if (!mountInfo) return {};
    return VolumesOfMountTable(*mountInfo, kSlowVolumeDeadline);
}

}  // namespace qv
