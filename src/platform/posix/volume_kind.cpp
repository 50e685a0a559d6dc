#include "platform/posix/volume_kind.h"

#include <algorithm>
#include <array>
#include <map>
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

constexpr std::array<std::string_view, 12> kNetworkTypes = {
    "nfs",       "nfs4",   "cifs", "smb3",  "smbfs",      "ceph",
    "glusterfs", "lustre", "afs",  "ncpfs", "fuse.sshfs", "fuse.glusterfs"};

constexpr std::array<std::string_view, 2> kRamTypes = {"tmpfs", "ramfs"};
// Optical media and the read-only images of packages (snaps, live systems):
// nothing to write, whatever device they are on.
constexpr std::array<std::string_view, 3> kMediaAndImageTypes = {"iso9660", "udf", "squashfs"};
// A container's file system: its own root, or one of the many a container
// engine keeps for its containers, each showing the space of the disk below.
constexpr std::array<std::string_view, 2> kOverlayTypes = {"overlay", "fuse.fuse-overlayfs"};

// Local disk file systems that may not show their block device in the mount
// table (btrfs and zfs report a device number of their own).
constexpr std::array<std::string_view, 3> kDiskTypesWithoutDevice = {"btrfs", "zfs", "bcachefs"};

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

DriveKind ClassifyBlockDevice(const BlockDeviceFacts& device) {
    if (StartsWith(device.Name, "zram") || StartsWith(device.Name, "ram"))
        return kNetworkOrRamDrive;
    if (StartsWith(device.Name, "sr") || StartsWith(device.Name, "loop")) return kOtherDrive;
    if (device.Removable || device.HotPlugged) return kOtherDrive;
    return kFixedDrive;
}

}  // namespace

DriveKind ClassifyMount(const MountEntry& mount, const std::optional<BlockDeviceFacts>& facts) {
    if (IsOneOf(mount.Type, kPseudoTypes)) return kOtherDrive;
    // Only a container's own root counts; the engine's overlays of other
    // containers would count the disk below them again and again.
    if (IsOneOf(mount.Type, kOverlayTypes))
        return mount.MountPoint == "/" ? kFixedDrive : kOtherDrive;
    if (IsNetwork(mount)) return kNetworkOrRamDrive;
    if (IsOneOf(mount.Type, kRamTypes)) return kNetworkOrRamDrive;
    if (IsOneOf(mount.Type, kMediaAndImageTypes)) return kOtherDrive;
    if (facts) return ClassifyBlockDevice(*facts);
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

bool IsOnHotPlugBus(std::string_view sysfsPath) {
    for (std::string_view bus : {"/usb", "/mmc", "/ieee1394", "/firewire", "/memstick"})
        if (sysfsPath.find(bus) != std::string_view::npos) return true;
    return false;
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

namespace {

// The mount a file system is shown by: its root "/", else the shortest
// mount point, else the first in the table.
bool ShowsBetter(const MountEntry& mount, const MountEntry& chosen) {
    if ((mount.Root == "/") != (chosen.Root == "/")) return mount.Root == "/";
    return mount.MountPoint.size() < chosen.MountPoint.size();
}

}  // namespace

std::vector<VolumeCandidate> ChooseVolumes(const std::vector<MountEntry>& mounts,
                                           const BlockDeviceLookup& factsOf) {
    const std::vector<bool> reachable = ReachableMounts(mounts);
    std::map<std::pair<unsigned, unsigned>, std::size_t> byFileSystem;  // its shown mount
    std::vector<std::optional<VolumeCandidate>> chosen(mounts.size());
    for (std::size_t i = 0; i < mounts.size(); ++i) {
        if (!reachable[i]) continue;
        const MountEntry& mount = mounts[i];
        const DriveKind kind = ClassifyMount(mount, factsOf(mount));
        if (kind == kOtherDrive) continue;
        const std::pair<unsigned, unsigned> fileSystem{mount.Major, mount.Minor};
        const auto seen = byFileSystem.find(fileSystem);
        if (seen == byFileSystem.end()) {
            byFileSystem.emplace(fileSystem, i);
            chosen[i] = VolumeCandidate{i, kind};
        } else if (ShowsBetter(mount, mounts[seen->second])) {
            chosen[seen->second].reset();
            seen->second = i;
            chosen[i] = VolumeCandidate{i, kind};
        }
    }
    std::vector<VolumeCandidate> volumes;
    for (const std::optional<VolumeCandidate>& candidate : chosen)
        if (candidate) volumes.push_back(*candidate);
    return volumes;
}

// A mount reached through a network or FUSE mount can hang as well.
std::vector<bool> ReachedThroughHangingMounts(const std::vector<MountEntry>& mounts) {
    std::map<int, std::size_t> indexOf;
    for (std::size_t i = 0; i < mounts.size(); ++i) indexOf[mounts[i].Id] = i;
    std::vector<bool> mayHang(mounts.size(), false);
    for (std::size_t i = 0; i < mounts.size(); ++i) {
        std::size_t at = i;
        for (std::size_t depth = 0; depth <= mounts.size() && !mayHang[i]; ++depth) {
            mayHang[i] = MayHang(mounts[at]);
            const auto parent = indexOf.find(mounts[at].ParentId);
            if (parent == indexOf.end() || parent->second == at) break;
            at = parent->second;
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
