#include "platform/posix/volume_kind.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <unordered_map>
#include <utility>

namespace qv {
namespace {

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

template <std::size_t N>
bool IsOneOf(std::string_view text, const std::array<std::string_view, N>& names) {
    return std::find(names.begin(), names.end(), text) != names.end();
}

// Kernel file systems with nothing of the user's to store.
constexpr std::array<std::string_view, 26> kPseudoTypes = {
    "proc",       "sysfs",       "devtmpfs",   "devpts",     "mqueue",
    "debugfs",    "tracefs",     "securityfs", "configfs",   "pstore",
    "bpf",        "binfmt_misc", "fusectl",    "hugetlbfs",  "autofs",
    "cgroup",     "cgroup2",     "efivarfs",   "rpc_pipefs", "nsfs",
    "selinuxfs",  "nfsd",        "rootfs",     "fuse.lxcfs", "fuse.gvfsd-fuse",
    "fuse.portal"};

// Network file systems, and the host's folders that a virtual machine sees
// through virtiofs (Docker Desktop's /host_mnt, Kata containers, WSL): the
// space of disks elsewhere, listed like a network share.
constexpr std::array<std::string_view, 13> kNetworkTypes = {
    "nfs",    "nfs4", "cifs",  "smb3",       "smbfs",          "ceph",    "glusterfs",
    "lustre", "afs",  "ncpfs", "fuse.sshfs", "fuse.glusterfs", "virtiofs"};

constexpr std::array<std::string_view, 2> kRamTypes = {"tmpfs", "ramfs"};
// Optical media and the read-only images of packages (snaps, live systems):
// nothing to write, whatever device they are on.
constexpr std::array<std::string_view, 3> kMediaAndImageTypes = {"iso9660", "udf", "squashfs"};
// A container's file system: its own root, or one of the many a container
// engine keeps for its containers, each showing the space of the disk below.
constexpr std::array<std::string_view, 2> kOverlayTypes = {"overlay", "fuse.fuse-overlayfs"};

// Local disk file systems that may not show their block device in the mount
// table (btrfs reports a device number of its own).
constexpr std::array<std::string_view, 2> kDiskTypesWithoutDevice = {"btrfs", "bcachefs"};

// WSL 1 keeps the distribution's files in a folder of a Windows volume and
// shows them as lxfs (wslfs after an upgrade) mounts without a device: /,
// /root, /home, /data, /cache and /mnt are that one folder's space.
constexpr std::array<std::string_view, 2> kWslDistributionTypes = {"lxfs", "wslfs"};

bool IsNetworkSource(std::string_view source) {
    if (StartsWith(source, "//")) return true;
    const std::size_t colon = source.find(':');
    return colon != std::string_view::npos && colon > 0 && source[0] != '/';
}

bool IsNetwork(const MountEntry& mount) {
    return IsOneOf(mount.Type, kNetworkTypes) || StartsWith(mount.Type, "9p") ||
           StartsWith(mount.Type, "nfs") || IsNetworkSource(mount.Source);
}

bool IsFuse(std::string_view type) {
    return type == "fuse" || type == "fuseblk" || StartsWith(type, "fuse.");
}

bool IsOverlay(const MountEntry& mount) {
    return IsOneOf(mount.Type, kOverlayTypes);
}

DriveKind ClassifyBlockDevice(const BlockDeviceFacts& device, bool holdsRoot) {
    const std::string_view disk = device.Disk.empty() ? device.Name : device.Disk;
    // The kernel's RAM disks: what is written there lives in memory.
    if (StartsWith(disk, "zram") || StartsWith(disk, "ram")) return kNetworkOrRamDrive;
    // The disk the system runs from is its disk, on whatever bus: the SD card
    // of a Raspberry Pi, the eMMC of a Chromebook, the USB stick of a
    // persistent live system, a root image on a loop device.
    if (holdsRoot) return kFixedDrive;
    if (StartsWith(disk, "sr") || StartsWith(disk, "loop")) return kOtherDrive;
    if (device.Removable || device.HotPlugged) return kOtherDrive;
    return kFixedDrive;
}

}  // namespace

DriveKind ClassifyMount(const MountEntry& mount, const std::optional<BlockDeviceFacts>& facts,
                        bool holdsRoot) {
    if (IsOneOf(mount.Type, kPseudoTypes)) return kOtherDrive;
    // A file system read-only in itself takes nothing more, whatever it
    // reports free: images (squashfuse and the FUSE mounters of AppImages,
    // erofs), container engines' masks over /proc and /sys.
    if (mount.ReadOnly) return kOtherDrive;
    // Every dataset of a pool tells the pool's free space; a dataset's name
    // may hold a colon ("tank/backup:2024") without naming a server.
    if (mount.Type == "zfs") return kFixedDrive;
    if (IsOneOf(mount.Type, kWslDistributionTypes)) return kFixedDrive;
    // Only a container's own root counts; the engine's overlays of other
    // containers would count the disk below them again and again. Where the
    // table shows the upper layer, the overlay is that layer's store instead.
    if (IsOverlay(mount)) return mount.MountPoint == "/" ? kFixedDrive : kOtherDrive;
    if (IsNetwork(mount)) return kNetworkOrRamDrive;
    if (IsOneOf(mount.Type, kRamTypes)) return kNetworkOrRamDrive;
    if (IsOneOf(mount.Type, kMediaAndImageTypes)) return kOtherDrive;
    if (facts) return ClassifyBlockDevice(*facts, holdsRoot);
    if (IsOneOf(mount.Type, kDiskTypesWithoutDevice)) return kFixedDrive;
    // A FUSE file system without a block device is served by a program,
    // mostly from elsewhere: listed, not counted.
    if (IsFuse(mount.Type)) return kNetworkOrRamDrive;
    return kOtherDrive;
}

bool ListedWithoutBlocks(const MountEntry& mount) {
    return IsOneOf(mount.Type, kRamTypes);
}

bool MayHang(const MountEntry& mount) {
    return IsNetwork(mount) || IsFuse(mount.Type) || mount.Type == "autofs";
}

namespace {

// Whether a component of the path starts with the name and goes on with a
// digit: "usb2" and "mmc0" are buses, "fe340000.mmc" and "mmc_host" are not.
bool HasBusComponent(std::string_view path, std::string_view bus) {
    for (std::size_t at = path.find(bus); at != std::string_view::npos;
         at = path.find(bus, at + 1)) {
        const std::size_t next = at + bus.size();
        if ((at == 0 || path[at - 1] == '/') && next < path.size() && path[next] >= '0' &&
            path[next] <= '9')
            return true;
    }
    return false;
}

}  // namespace

bool IsOnHotPlugBus(std::string_view sysfsPath) {
    for (std::string_view bus : {"usb", "ieee1394", "firewire", "memstick"})
        if (HasBusComponent(sysfsPath, bus)) return true;
    return false;
}

bool IsOnMmcBus(std::string_view sysfsPath) {
    return HasBusComponent(sysfsPath, "mmc");
}

bool CardComesAndGoes(std::string_view cardType) {
    while (!cardType.empty() && (cardType.back() == '\n' || cardType.back() == ' '))
        cardType.remove_suffix(1);
    return cardType == "SD";
}

std::string DecodeHexEscapes(std::string_view text) {
    auto hexValue = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    std::string decoded;
    decoded.reserve(text.size());
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '\\' && at + 3 < text.size() && text[at + 1] == 'x' &&
            hexValue(text[at + 2]) >= 0 && hexValue(text[at + 3]) >= 0) {
            decoded += static_cast<char>(hexValue(text[at + 2]) * 16 + hexValue(text[at + 3]));
            at += 3;
        } else {
            decoded += text[at];
        }
    }
    return decoded;
}

bool ShowsBetter(const MountEntry& mount, const MountEntry& chosen) {
    if ((mount.MountPoint == "/") != (chosen.MountPoint == "/")) return mount.MountPoint == "/";
    if ((mount.Root == "/") != (chosen.Root == "/")) return mount.Root == "/";
    return mount.MountPoint.size() < chosen.MountPoint.size();
}

DriveKind MergedKind(DriveKind a, DriveKind b) {
    return a == kNetworkOrRamDrive || b == kNetworkOrRamDrive ? kNetworkOrRamDrive : a;
}

namespace {

// A store as one number: a device number (major in the high half), a ZFS
// pool by its place among the pools of the table, or WSL 1's folder.
using StoreKey = std::uint64_t;
constexpr StoreKey kZfsPoolTag = 1ULL << 62;
constexpr StoreKey kWslDistributionStore = 2ULL << 62;

StoreKey DeviceKey(unsigned major, unsigned minor) {
    return (static_cast<StoreKey>(major) << 32) | minor;
}

struct MountStore {
    DriveKind Kind = kOtherDrive;
    StoreKey Key = 0;
};

// Only mounts with a device number of a block device, or a device file as
// their source, can have block device facts; the rest are not looked up.
bool MayHaveBlockDevice(const MountEntry& mount) {
    return mount.Major != 0 || StartsWith(mount.Source, "/dev/");
}

std::string_view DiskOf(const BlockDeviceFacts& facts) {
    return facts.Disk.empty() ? facts.Name : facts.Disk;
}

// The pool of a dataset: "rpool" of "rpool/ROOT/ubuntu" and "rpool/home@daily".
std::string_view ZfsPool(std::string_view dataset) {
    return dataset.substr(0, dataset.find_first_of("/@"));
}

class StoreFinder {
  public:
    StoreFinder(const std::vector<MountEntry>& mounts, const std::vector<bool>& reachable,
                const BlockDeviceLookup& factsOf)
        : Mounts(mounts), Reachable(reachable), FactsOf(factsOf), Stores(mounts.size()) {
        FindRootDisk();
        for (std::size_t i = 0; i < Mounts.size(); ++i)
            if (Reachable[i]) Stores[i] = StoreOfItself(Mounts[i]);
    }

    const MountStore& Of(std::size_t i) const { return Stores[i]; }

  private:
    // The disk the process's root lives on: the last reachable mount on "/".
    void FindRootDisk() {
        for (std::size_t i = Mounts.size(); i-- > 0;) {
            if (!Reachable[i] || Mounts[i].MountPoint != "/") continue;
            if (MayHaveBlockDevice(Mounts[i]))
                if (const std::optional<BlockDeviceFacts> facts = FactsOf(Mounts[i]))
                    RootDisk = std::string(DiskOf(*facts));
            return;
        }
    }

    MountStore StoreOfItself(const MountEntry& mount) {
        std::optional<BlockDeviceFacts> facts;
        if (MayHaveBlockDevice(mount)) facts = FactsOf(mount);
        const bool holdsRoot = facts && !RootDisk.empty() && DiskOf(*facts) == RootDisk;
        MountStore store{ClassifyMount(mount, facts, holdsRoot),
                         DeviceKey(mount.Major, mount.Minor)};
        if (mount.Type == "zfs")
            store.Key = kZfsPoolTag | PoolNumber(ZfsPool(mount.Source));
        else if (IsOneOf(mount.Type, kWslDistributionTypes))
            store.Key = kWslDistributionStore;
        else if (facts && (facts->PoolMajor != 0 || facts->PoolMinor != 0))
            store.Key = DeviceKey(facts->PoolMajor, facts->PoolMinor);
        return store;
    }

    StoreKey PoolNumber(std::string_view pool) {
        const auto seen = std::find(Pools.begin(), Pools.end(), pool);
        if (seen != Pools.end()) return static_cast<StoreKey>(seen - Pools.begin());
        Pools.push_back(pool);
        return Pools.size() - 1;
    }

    const std::vector<MountEntry>& Mounts;
    const std::vector<bool>& Reachable;
    const BlockDeviceLookup& FactsOf;
    std::vector<MountStore> Stores;
    std::string RootDisk;
    std::vector<std::string_view> Pools;
};

bool IsPathPrefix(std::string_view prefix, std::string_view path) {
    return path.substr(0, prefix.size()) == prefix &&
           (prefix.size() == path.size() || prefix == "/" || path[prefix.size()] == '/');
}

// The reachable mount whose mount point is the longest leading part of an
// overlay's upper layer, other than the overlay itself; kNone when the layer
// lies outside the table, as a container's does.
std::size_t UpperLayerMount(const std::vector<MountEntry>& mounts,
                            const std::vector<bool>& reachable, std::size_t overlay) {
    const std::string_view upper = mounts[overlay].UpperDir;
    std::size_t holder = kNone;
    for (std::size_t i = 0; i < mounts.size(); ++i) {
        if (i == overlay || !reachable[i] || !IsPathPrefix(mounts[i].MountPoint, upper)) continue;
        if (holder == kNone || mounts[i].MountPoint.size() > mounts[holder].MountPoint.size())
            holder = i;
    }
    return holder;
}

}  // namespace

std::vector<VolumeCandidate> ChooseVolumes(const std::vector<MountEntry>& mounts,
                                           const BlockDeviceLookup& factsOf) {
    const std::vector<bool> reachable = ReachableMounts(mounts);
    const StoreFinder stores(mounts, reachable, factsOf);
    std::unordered_map<StoreKey, std::size_t> shownBy;
    shownBy.reserve(mounts.size());
    std::vector<std::optional<VolumeCandidate>> chosen(mounts.size());
    for (std::size_t i = 0; i < mounts.size(); ++i) {
        if (!reachable[i]) continue;
        const MountStore& store = stores.Of(i);
        if (store.Kind == kOtherDrive) continue;
        const auto [seen, first] = shownBy.emplace(store.Key, i);
        if (first) {
            chosen[i] = VolumeCandidate{i, store.Kind, kNone};
            continue;
        }
        std::optional<VolumeCandidate>& shown = chosen[seen->second];
        const DriveKind kind = MergedKind(shown->Kind, store.Kind);
        if (ShowsBetter(mounts[i], mounts[seen->second])) {
            shown.reset();
            seen->second = i;
            chosen[i] = VolumeCandidate{i, kind, kNone};
        } else {
            shown->Kind = kind;
        }
    }
    std::vector<VolumeCandidate> volumes;
    for (std::optional<VolumeCandidate>& candidate : chosen) {
        if (!candidate) continue;
        if (!mounts[candidate->Index].UpperDir.empty())
            candidate->UpperLayer = UpperLayerMount(mounts, reachable, candidate->Index);
        volumes.push_back(*candidate);
    }
    return volumes;
}

// A mount reached through a network or FUSE mount can hang as well. Whether a
// mount itself may hang is decided once, not again for every mount above it.
std::vector<bool> ReachedThroughHangingMounts(const std::vector<MountEntry>& mounts) {
    const std::vector<std::size_t> parents = ParentIndexes(mounts);
    std::vector<bool> hangsItself(mounts.size());
    for (std::size_t i = 0; i < mounts.size(); ++i) hangsItself[i] = MayHang(mounts[i]);
    std::vector<bool> mayHang(mounts.size(), false);
    for (std::size_t i = 0; i < mounts.size(); ++i) {
        std::size_t at = i;
        for (std::size_t depth = 0; depth <= mounts.size() && !mayHang[i]; ++depth) {
            mayHang[i] = hangsItself[at];
            if (parents[at] == kNoParent) break;
            at = parents[at];
        }
    }
    return mayHang;
}

std::optional<std::string> UdevLabel(std::string_view record) {
    constexpr std::string_view kKey = "E:ID_FS_LABEL_ENC=";
    while (!record.empty()) {
        const std::size_t end = record.find('\n');
        const std::string_view line = record.substr(0, end);
        record.remove_prefix(end == std::string_view::npos ? record.size() : end + 1);
        if (StartsWith(line, kKey) && line.size() > kKey.size())
            return DecodeHexEscapes(line.substr(kKey.size()));
    }
    return std::nullopt;
}

}  // namespace qv
