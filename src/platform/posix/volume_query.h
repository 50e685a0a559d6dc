// The volumes of a mount table: its shown mounts, their kinds, labels and
// free space, as the report lists them. What the system tells of the mounts
// comes through MountFacts, so that tests can stand in for the system.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/posix/free_space.h"
#include "platform/posix/mount_table.h"
#include "platform/posix/volume_kind.h"
#include "platform/volumes.h"

namespace qv {

class MountFacts {
  public:
    virtual ~MountFacts() = default;
    // The block device a mount's file system lives on, or nothing.
    virtual std::optional<BlockDeviceFacts> DeviceOf(const MountEntry& mount) = 0;
    // The file system's volume label; "" when it has none.
    virtual std::string LabelOf(const MountEntry& mount) = 0;
    // The free space of the mounts of the table at the given indexes, each
    // answer in its place; nothing where the query failed or did not answer.
    virtual std::vector<std::optional<FreeSpace>> SpaceOf(
        const std::vector<MountEntry>& mounts, const std::vector<std::size_t>& indexes) = 0;
    // The root the process stands on where no line of the table is mounted
    // on "/" (a chroot whose root is not a mount point), as the system tells
    // of it; nothing when it cannot.
    virtual std::optional<MountEntry> UncoveredRoot(const std::vector<MountEntry>& mounts) = 0;
};

// The volumes of a parsed table: one per store, the root's always among them.
std::vector<Volume> VolumesOfMountTable(MountTable table, MountFacts& facts);
std::vector<Volume> VolumesOfMountTable(std::string_view mountInfo, MountFacts& facts);

}  // namespace qv
