// The volumes whose free space the report shows: fixed ones, which count in
// the total, and network or RAM ones, which are listed only.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace qv {

// The kinds of the drive query: fixed (counted and listed), network or RAM
// (listed only), anything else (neither).
enum DriveKind : int {
    kOtherDrive = 0,
    kFixedDrive = 1,
    kNetworkOrRamDrive = -1,
};

struct Volume {
    std::string Name;        // the mount point; on Windows the drive letter alone
    std::string FileSystem;  // "" when the system gives none
    std::string DiskLabel;   // "" when the volume has none
    DriveKind Kind = kOtherDrive;
    std::uint64_t FreeBytes = 0;  // space the user may still write
};

// Every volume of a wanted kind whose free space could be read, in the
// system's order (the mount table, or the drive letters C: to Z:). One query
// feeds both the total and the lines, so the two always agree.
std::vector<Volume> QueryVolumes();

// How long the listing waits for volumes that may never answer (a network
// server that died): one deadline for all of them together. Those that have
// not answered by then are left out like volumes whose query failed.
inline constexpr std::chrono::milliseconds kSlowVolumeDeadline{1000};

// The conversion that the volume line's label format takes for Name: 's' for a
// mount point, 'c' for a drive letter.
char VolumeNameConversion();

}  // namespace qv
