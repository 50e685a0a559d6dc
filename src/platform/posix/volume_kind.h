// Which store of free space a mount shows, and of which kind: the Linux side
// of the drive query. A store is what holds the space: a block device (a
// device-mapper thin volume draws on its pool), a ZFS pool, a btrfs or
// bcachefs file system, a network share, RAM. Pure: the facts about block
// devices are gathered elsewhere and handed in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/posix/mount_table.h"
#include "platform/volumes.h"

namespace qv {

// What sysfs tells of the block device a file system lives on.
struct BlockDeviceFacts {
    std::string Name;  // kernel name: "sda1", "nvme0n1p2", "dm-3", "mmcblk0p2", "loop3"
    // The disk that holds it, through partitions and device-mapper: "sda",
    // "mmcblk0", "loop0"; "" when sysfs does not say.
    std::string Disk;
    bool Removable = false;   // the disk's "removable" attribute
    bool HotPlugged = false;  // the disk hangs on a bus whose devices come and go
    // The device whose space the file system draws on when that is not its
    // own: the pool of a device-mapper thin volume. 0:0 for its own device.
    unsigned PoolMajor = 0;
    unsigned PoolMinor = 0;
};

// The kind of a mount. Facts is the block device of the file system, or
// nothing when it has none or sysfs does not know it; HoldsRoot tells whether
// that device's disk also holds the root the process stands on.
DriveKind ClassifyMount(const MountEntry& mount, const std::optional<BlockDeviceFacts>& facts,
                        bool holdsRoot = false);

// Whether a mount whose file system reports no blocks is listed all the
// same: a RAM file system (ramfs never reports any, nor does a tmpfs without a
// size limit), with the free space it reports, 0 when none. Any other file
// system without blocks stores nothing of the user's.
bool ListedWithoutBlocks(const MountEntry& mount);

// A mount whose free-space query may never return (a network server that does
// not answer, a FUSE daemon that hangs): it is asked in a child process.
bool MayHang(const MountEntry& mount);

// The block device facts of a mount's file system, or nothing.
using BlockDeviceLookup = std::function<std::optional<BlockDeviceFacts>(const MountEntry&)>;

inline constexpr std::size_t kNone = static_cast<std::size_t>(-1);

struct VolumeCandidate {
    std::size_t Index;  // of the mount that shows it, in the mount table
    DriveKind Kind;
    // For an overlay: the mount that holds its upper layer, where the table
    // shows one; kNone otherwise.
    std::size_t UpperLayer = kNone;
};

// The stores of wanted kinds among the reachable mounts, each once, shown by
// its mount on "/", else by a mount of the file system's own root, else by
// its shortest mount point; in table order.
std::vector<VolumeCandidate> ChooseVolumes(const std::vector<MountEntry>& mounts,
                                           const BlockDeviceLookup& factsOf);

// Whether the mount shows a volume better than the one chosen so far: the
// mount on "/", else one of the file system's own root, else the shorter
// mount point.
bool ShowsBetter(const MountEntry& mount, const MountEntry& chosen);

// The kind of one store seen through two mounts: where either shows it to be
// RAM or a share, it is no local disk.
DriveKind MergedKind(DriveKind a, DriveKind b);

// For each mount, whether it or one it is reached through may hang.
std::vector<bool> ReachedThroughHangingMounts(const std::vector<MountEntry>& mounts);

// Whether sysfs's path of a device (the target of /sys/dev/block/M:m) lies on
// a bus whose devices come and go: usb, firewire, memory sticks. A device on
// the mmc bus is told apart by its card's type (see CardComesAndGoes).
bool IsOnHotPlugBus(std::string_view sysfsPath);

// Whether sysfs's path of a device lies on the mmc bus ("/mmc0/mmc0:0001/").
bool IsOnMmcBus(std::string_view sysfsPath);

// Whether an mmc card of the given type (its "device/type" attribute) can be
// taken out: an SD card can; eMMC ("MMC") is soldered to the board.
bool CardComesAndGoes(std::string_view cardType);

// The file-system label in a udev database record ("E:ID_FS_LABEL_ENC=..."),
// its \xHH escapes decoded; nothing when the record has none.
std::optional<std::string> UdevLabel(std::string_view record);

// "\xHH" escapes decoded, as udev writes them in labels and link names.
std::string DecodeHexEscapes(std::string_view text);

}  // namespace qv
