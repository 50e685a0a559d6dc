// The mount table of /proc/self/mountinfo, and which of its mounts the volume
// lines look at. Pure: tests feed fixture texts.
#pragma once

#include <memory>
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

// Whether each mount can be reached through its mount point: not when a later
// mount covers it on the same place or covers a directory above it, nor when
// a mount it sits on is itself out of reach.
std::vector<bool> ReachableMounts(const std::vector<MountEntry>& mounts);

}  // namespace qv
