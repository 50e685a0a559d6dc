// Mount tables of hosts of common kinds, as /proc/self/mountinfo shows them
// there, with what sysfs, the udev database and statvfs tell of their mounts,
// and the volume lines the report prints for each (sizes in bytes).
#pragma once

#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "platform/posix/volume_query.h"

namespace qv::test {

struct HostDevice {
    BlockDeviceFacts Facts;
    std::string Label;  // "" when the file system has none
};

struct HostTable {
    std::string Name;
    std::string MountInfo;
    std::map<std::string, HostDevice> Devices;  // by the mount's source
    // statvfs by the file system's device number ("0:52"); none: no answer.
    std::map<std::string, FreeSpace> Space;
    // The root as stat and statfs tell it, where no line is mounted on "/".
    std::optional<MountEntry> UncoveredRoot;
    // Label part and value of the total, then of each volume line.
    std::vector<std::pair<std::string, std::string>> Lines;

    friend void PrintTo(const HostTable& host, std::ostream* out) { *out << host.Name; }
};

// The host's sysfs, udev database and statvfs, as the table tells them.
class HostFacts : public MountFacts {
  public:
    explicit HostFacts(const HostTable& host) : Host(host) {}

    std::optional<BlockDeviceFacts> DeviceOf(const MountEntry& mount) override;
    std::string LabelOf(const MountEntry& mount) override;
    std::vector<std::optional<FreeSpace>> SpaceOf(const std::vector<MountEntry>& mounts,
                                                  const std::vector<std::size_t>& indexes) override;
    std::optional<MountEntry> UncoveredRoot(const std::vector<MountEntry>& mounts) override;

  private:
    const HostTable& Host;
};

// A host running a dozen containers, a desktop with snap packages, a btrfs
// system with subvolumes, an LXC container, a WSL 2 guest, NFS under autofs,
// and a Kubernetes node.
std::vector<HostTable> HostTables();

// The largest: a Kubernetes node with 250 pods, some thousands of mounts.
HostTable KubernetesNode();

// Hosts where the free space lives in stores that device numbers alone do not
// tell apart: containers of Docker Desktop and its VM, Ubuntu on ZFS, a
// Raspberry Pi on its SD card, WSL 1, and devicemapper's thin volumes.
std::vector<HostTable> StoreHostTables();

// Free space of a tmpfs of the given size with some kibibytes in use.
inline FreeSpace Tmpfs(std::uint64_t sizeKiB, std::uint64_t usedKiB = 0) {
    return {(sizeKiB - usedKiB) * 1024, sizeKiB / 4};
}

// A block device as sysfs tells of it; Disk is "" when it is a disk itself.
inline BlockDeviceFacts Disk(const char* name, bool removable = false, bool hotPlugged = false,
                             const char* disk = "") {
    BlockDeviceFacts facts;
    facts.Name = name;
    facts.Disk = disk;
    facts.Removable = removable;
    facts.HotPlugged = hotPlugged;
    return facts;
}

// A size in bytes as the report shows it with sizes in bytes: digits in
// groups of three, and the blank that stands for the unit.
std::string Bytes(std::uint64_t bytes);

}  // namespace qv::test
