// Which kind of volume a mount is: the Linux side of the drive query. Pure:
// the facts about block devices are gathered elsewhere and handed in.
#pragma once

#include <cstddef>
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
    std::string Name;         // kernel name: "sda1", "nvme0n1p2", "sr0", "zram0", "loop3"
    bool Removable = false;   // the disk's "removable" attribute
    bool HotPlugged = false;  // the disk hangs on a usb, mmc, ieee1394 or similar bus
};

// The kind of a mount. Facts is the block device of the file system, or
// nothing when it has none or sysfs does not know it.
DriveKind ClassifyMount(const MountEntry& mount, const std::optional<BlockDeviceFacts>& facts);

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

struct VolumeCandidate {
    std::size_t Index;  // of the mount that shows it, in the mount table
    DriveKind Kind;
};

// The file systems of wanted kinds among the reachable mounts, each once (bind
// mounts and btrfs subvolumes share one device number), shown by its mount
// with root "/", else by its shortest mount point; in table order.
std::vector<VolumeCandidate> ChooseVolumes(const std::vector<MountEntry>& mounts,
                                           const BlockDeviceLookup& factsOf);

// For each mount, whether it or one it is reached through may hang.
std::vector<bool> ReachedThroughHangingMounts(const std::vector<MountEntry>& mounts);

// Whether sysfs's path of a device (the target of /sys/dev/block/M:m) lies on
// a bus whose devices come and go.
bool IsOnHotPlugBus(std::string_view sysfsPath);

// The file-system label in a udev database record ("E:ID_FS_LABEL_ENC=..."),
// its \xHH escapes decoded; nothing when the record has none.
std::optional<std::string> UdevLabel(std::string_view record);

// "\xHH" escapes decoded, as udev writes them in labels and link names.
std::string DecodeHexEscapes(std::string_view text);

}  // namespace qv
