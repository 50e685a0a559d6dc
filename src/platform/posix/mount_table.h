// The mount table of /proc/self/mountinfo, and which of its mounts the volume
// lines look at. Pure: tests feed fixture texts.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace qv {

// A mount of the table. Its names are decoded and kept by the table it comes
// from (or are literals), so that parsing allocates nothing per mount.
struct MountEntry {
    int Id = 0;
    int ParentId = 0;
    unsigned Major = 0;  // of the file system's device number
    unsigned Minor = 0;
    std::string_view Root;        // the directory of the file system seen at the mount point
    std::string_view MountPoint;  // escapes decoded
    std::string_view Type;        // "ext4", "fuse.sshfs", ...
    std::string_view Source;      // "/dev/sda1", "server:/export", "tmpfs", ...
    // An overlay's upper layer ("upperdir=" of the super options), where its
    // writes go; "" for other file systems and read-only overlays.
    std::string_view UpperDir;
    bool ReadOnly = false;  // the file system itself is read-only (super options "ro")
};

// The mounts in table order. Malformed lines are skipped and counted.
struct MountTable {
    std::vector<MountEntry> Mounts;
    int Malformed = 0;
    std::unique_ptr<char[]> Names;  // the decoded names the entries point into
};

MountTable ParseMountInfo(std::string_view text);

// The fields of one line of /proc/self/mountinfo ("36 35 98:0 /mnt1 /mnt2
// rw,noatime master:1 - ext3 /dev/root rw"), names still escaped: six fixed
// fields, optional fields up to "-", then type, source and super options.
struct MountInfoFields {
    std::string_view Id;
    std::string_view ParentId;
    std::string_view Device;  // "major:minor"
    std::string_view Root;
    std::string_view MountPoint;
    std::string_view Type;
    std::string_view Source;
    std::string_view SuperOptions;  // may be empty
};

// Nothing for a line of another shape: a field missing or empty.
std::optional<MountInfoFields> SplitMountInfoLine(std::string_view line);

// The index of each mount's parent in the table; kNoParent for a mount whose
// parent lies outside this view (the root of a namespace or a chroot) or is
// the mount itself.
inline constexpr std::size_t kNoParent = static_cast<std::size_t>(-1);
std::vector<std::size_t> ParentIndexes(const std::vector<MountEntry>& mounts);

// Whether each mount can be reached through its mount point: not when a later
// mount covers it on the same place or covers a directory above it, nor when
// a mount it sits on is itself out of reach.
std::vector<bool> ReachableMounts(const std::vector<MountEntry>& mounts);

}  // namespace qv
