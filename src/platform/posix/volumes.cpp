#include "platform/volumes.h"

#include <dirent.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <map>
#include <utility>

#include "platform/posix/read_file.h"
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
    // One readlink gives the device's place in sysfs (its bus and name); the
    // kernel follows the link itself in the paths below, which spares the
    // lookup of every component that resolving the whole path would cost.
    const std::string link = "/sys/dev/block/" + DeviceText(device);
    char target[PATH_MAX];
    const ssize_t length = ::readlink(link.c_str(), target, sizeof target - 1);
    if (length <= 0) return facts;
    const std::string path(target, static_cast<std::size_t>(length));
    facts.Name = path.substr(path.find_last_of('/') + 1);
    facts.HotPlugged = IsOnHotPlugBus(path);
    struct stat info;
    const bool isPartition = ::stat((link + "/partition").c_str(), &info) == 0;
    const std::string disk = isPartition ? link + "/.." : link;  // a partition's disk holds it
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

// The facts of this machine: sysfs, the udev database and statvfs, with the
// mounts that may hang asked in child processes within one deadline.
class SystemMountFacts : public MountFacts {
  public:
    explicit SystemMountFacts(std::chrono::milliseconds deadline) : Deadline(deadline) {}

    std::optional<BlockDeviceFacts> DeviceOf(const MountEntry& mount) override {
        const std::optional<DeviceNumber> device = BlockDeviceOf(mount);
        if (!device) return std::nullopt;
        auto found = Known.find(*device);
        if (found == Known.end())
            found = Known.emplace(*device, ReadBlockDeviceFacts(*device)).first;
        return found->second;
    }

    std::string LabelOf(const MountEntry& mount) override {
        const std::optional<DeviceNumber> device = BlockDeviceOf(mount);
        return device ? Labels.LabelOf(*device) : std::string();
    }

    std::vector<std::optional<FreeSpace>> SpaceOf(
        const std::vector<MountEntry>& mounts, const std::vector<std::size_t>& indexes) override {
        const std::vector<bool> mayHang = ReachedThroughHangingMounts(mounts);
        std::vector<std::optional<FreeSpace>> space(indexes.size());
        std::vector<std::size_t> slow;
        for (std::size_t k = 0; k < indexes.size(); ++k) {
            if (mayHang[indexes[k]])
                slow.push_back(k);
            else
                space[k] = QueryFreeSpace(mounts[indexes[k]].MountPoint);
        }
        const auto answers = QueryInChildren(
            slow.size(),
            [&](std::size_t s) { return QueryFreeSpace(mounts[indexes[slow[s]]].MountPoint); },
            Deadline);
        for (std::size_t s = 0; s < slow.size(); ++s) space[slow[s]] = answers[s];
        return space;
    }

  private:
    std::chrono::milliseconds Deadline;
    std::map<DeviceNumber, BlockDeviceFacts> Known;
    LabelFinder Labels;
};

}  // namespace

std::vector<Volume> QueryVolumes() {
    const std::optional<std::string> mountInfo = ReadWholeFile("/proc/self/mountinfo");
    if (!mountInfo) return {};
    SystemMountFacts facts(kSlowVolumeDeadline);
    return VolumesOfMountTable(*mountInfo, facts);
}

}  // namespace qv
