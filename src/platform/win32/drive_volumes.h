// The volume list of the drive letters, each drive asked on a thread of its
// own, so that a network drive that never answers costs the deadline only.
#pragma once

#include <windows.h>

#include <chrono>
#include <optional>
#include <vector>

#include "platform/volumes.h"

namespace qv {

// One drive's volume: its kind and texts (as CheckDrive gives them) and its
// free space; nothing when its kind is not wanted or its free space cannot be
// read. Drive is 3 for C: up to 26 for Z:.
std::optional<Volume> QueryDrive(int Drive);

// A plain function, since it may still run on a drive's thread long after the
// call that started it has returned.
using DriveQuery = std::optional<Volume> (*)(int Drive);

// The volumes of the drives C: to Z: of the mask (bit 0 is A:), in the order
// of their letters, each asked with Query on a thread of its own, all at once.
// A drive that has not answered within Deadline is left out, and its thread
// is left to itself: it is never waited for, not even when the process ends.
// The mask is Windows' DWORD (GetLogicalDrives), named from the global
// namespace: the system's own DWORD of platform/types.h is another type, and
// which one a bare name meant would hang on what was included before.
std::vector<Volume> VolumesOfDrives(::DWORD Drives, DriveQuery Query,
                                    std::chrono::milliseconds Deadline);

}  // namespace qv
