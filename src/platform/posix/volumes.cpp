#include "platform/volumes.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <tuple>
#include <utility>

#include "platform/posix/kernel_files.h"
#include "platform/posix/read_file.h"
#include "platform/posix/unique_fd.h"
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
    if (::stat(std::string(mount.Source).c_str(), &info) != 0 || !S_ISBLK(info.st_mode))
        return std::nullopt;
    return DeviceNumber{major(info.st_rdev), minor(info.st_rdev)};
}

std::string DeviceText(const DeviceNumber& device) {
    return std::to_string(device.first) + ":" + std::to_string(device.second);
}

std::string LastComponent(std::string_view path) {
    return std::string(path.substr(path.find_last_of('/') + 1));
}

// The target of a sysfs link: the device's place under /sys/devices, whose
// components name its bus. "" when there is no such link.
std::string LinkTarget(const std::string& link) {
    char target[PATH_MAX];
    const ssize_t length = ::readlink(link.c_str(), target, sizeof target - 1);
    return length > 0 ? std::string(target, static_cast<std::size_t>(length)) : std::string();
}

bool IsDeviceMapper(std::string_view name) {
    return name.rfind("dm-", 0) == 0;
}

// The devices a device-mapper device is built on, by kernel name.
std::vector<std::string> SlavesOf(const std::string& device) {
    std::vector<std::string> slaves;
    DIR* dir = ::opendir((device + "/slaves").c_str());
    if (dir == nullptr) return slaves;
    while (const dirent* entry = ::readdir(dir))
        if (entry->d_name[0] != '.') slaves.emplace_back(entry->d_name);
    ::closedir(dir);
    std::sort(slaves.begin(), slaves.end());
    return slaves;
}

// A sysfs attribute: a short line, read into a small buffer. sysfs gives
// every attribute the size of a page, which a whole-file read would clear.
std::optional<std::string> ReadAttribute(const std::string& path) {
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.IsOpen()) return std::nullopt;
    char text[64];
    const ssize_t length = RetryAfterSignal([&] { return ::read(fd.Get(), text, sizeof text); });
    if (length < 0) return std::nullopt;
    return std::string(text, static_cast<std::size_t>(length));
}

std::optional<DeviceNumber> ReadDeviceNumber(const std::string& device) {
    const std::optional<std::string> text = ReadAttribute(device + "/dev");
    unsigned major = 0, minor = 0;
    if (!text || std::sscanf(text->c_str(), "%u:%u", &major, &minor) != 2) return std::nullopt;
    return DeviceNumber{major, minor};
}

bool StartsWithOne(const std::optional<std::string>& text) {
    return text && !text->empty() && (*text)[0] == '1';
}

// What sysfs tells of a block device. A device-mapper device is followed down
// its slaves to the disk below: while it is built on one device-mapper
// device alone, that one holds its space (a thin volume's pool); the disk at
// the bottom tells whether it can be unplugged. A device sysfs does not show
// (a container without /sys) still is a disk.
BlockDeviceFacts ReadBlockDeviceFacts(const DeviceNumber& device) {
    BlockDeviceFacts facts;
    // The kernel follows the link itself in the paths below, which spares
    // the lookup of every component that resolving the whole path would cost.
    std::string at = "/sys/dev/block/" + DeviceText(device);
    std::string place = LinkTarget(at);
    if (place.empty()) return facts;
    facts.Name = LastComponent(place);
    bool poolChain = true;
    for (int depth = 0; depth < 8 && IsDeviceMapper(LastComponent(place)); ++depth) {
        const std::vector<std::string> slaves = SlavesOf(at);
        if (slaves.empty()) break;
        const std::string below = at + "/slaves/" + slaves.front();
        poolChain = poolChain && slaves.size() == 1 && IsDeviceMapper(slaves.front());
        if (poolChain)
            if (const std::optional<DeviceNumber> pool = ReadDeviceNumber(below))
                std::tie(facts.PoolMajor, facts.PoolMinor) = *pool;
        at = below;
        place = LinkTarget(below);
    }
    struct stat info;
    const bool isPartition = ::stat((at + "/partition").c_str(), &info) == 0;
    const std::string disk = isPartition ? at + "/.." : at;  // a partition's disk holds it
    const std::string_view placeOfDisk =
        isPartition ? std::string_view(place).substr(0, place.find_last_of('/')) : place;
    facts.Disk = LastComponent(placeOfDisk);
    facts.Removable = StartsWithOne(ReadAttribute(disk + "/removable"));
    facts.HotPlugged = IsOnHotPlugBus(placeOfDisk);
    if (!facts.HotPlugged && IsOnMmcBus(placeOfDisk))
        if (const std::optional<std::string> type = ReadAttribute(disk + "/device/type"))
            facts.HotPlugged = CardComesAndGoes(*type);
    return facts;
}

// The names statfs gives the common local file systems by their magic
// numbers, for a root that no line of the mount table names.
std::string_view FileSystemTypeName(std::uint64_t magic) {
    switch (magic) {
        case 0xEF53:
            return "ext4";  // ext2, ext3 and ext4 share it
        case 0x58465342:
            return "xfs";
        case 0x9123683E:
            return "btrfs";
        case 0xF2F52010:
            return "f2fs";
        case 0x2FC12FC1:
            return "zfs";
        case 0xCA451A4E:
            return "bcachefs";
        case 0x01021994:
            return "tmpfs";
        case 0x858458F6:
            return "ramfs";
        case 0x794C7630:
            return "overlay";
        case 0x65735546:
            return "fuse";
        case 0x6969:
            return "nfs";
        default:
            return {};
    }
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
                space[k] = QueryFreeSpace(std::string(mounts[indexes[k]].MountPoint));
        }
        const auto answers = QueryInChildren(
            slow.size(),
            [&](std::size_t s) {
                return QueryFreeSpace(std::string(mounts[indexes[slow[s]]].MountPoint));
            },
            Deadline);
        for (std::size_t s = 0; s < slow.size(); ++s) space[slow[s]] = answers[s];
        return space;
    }

    // The root by its device number from stat and its type from statfs;
    // a mount of the same file system elsewhere in the table names its type
    // and source better.
    std::optional<MountEntry> UncoveredRoot(const std::vector<MountEntry>& mounts) override {
        struct stat info;
        struct statfs system;
        if (::stat("/", &info) != 0 || ::statfs("/", &system) != 0) return std::nullopt;
        MountEntry root;
        root.Id = root.ParentId = -1;
        root.Major = major(info.st_dev);
        root.Minor = minor(info.st_dev);
        root.Root = root.MountPoint = "/";
        root.Type = FileSystemTypeName(static_cast<std::uint64_t>(system.f_type));
        for (const MountEntry& mount : mounts)
            if (mount.Major == root.Major && mount.Minor == root.Minor) {
                root.Type = mount.Type;
                root.Source = mount.Source;
                break;
            }
        return root;
    }

  private:
    std::chrono::milliseconds Deadline;
    std::map<DeviceNumber, BlockDeviceFacts> Known;
    LabelFinder Labels;
};

}  // namespace

std::vector<Volume> QueryVolumes() {
    MountTable table;
    ReadMountTable("", table);
    SystemMountFacts facts(kSlowVolumeDeadline);
    return VolumesOfMountTable(std::move(table), facts);
}

}  // namespace qv
