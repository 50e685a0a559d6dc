#include <windows.h>

#include <cstdio>
#include <cstring>
#include <optional>

#include "platform/volumes.h"
#include "platform/win32/check_drive.h"
#include "platform/win32/system_function.h"

namespace qv {
namespace {

constexpr int kFirstDrive = 3;  // C:; A: and B: are never examined
constexpr int kLastDrive = 26;  // Z:
constexpr int kTextSize = 80;

void MakeRoot(int drive, char (&root)[10]) {
    std::snprintf(root, sizeof root, "%c:\\", static_cast<char>(drive + 64));
}

// What the user may still write, in bytes. GetDiskFreeSpaceExA, where the
// system has it, is exact beyond 2 GiB and heeds quotas; the cluster figures of
// GetDiskFreeSpaceA are the fallback, multiplied out in 64 bits.
std::optional<std::uint64_t> FreeBytes(const char* root) {
    using FreeSpaceEx = ::BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
    static const FreeSpaceEx freeSpaceEx =
        SystemFunction<FreeSpaceEx>("kernel32.dll", "GetDiskFreeSpaceExA");
    if (freeSpaceEx) {
        ULARGE_INTEGER available, total, free;
        if (!freeSpaceEx(root, &available, &total, &free)) return std::nullopt;
        return available.QuadPart;
    }
    DWORD sectorsPerCluster, bytesPerSector, freeClusters, totalClusters;
    if (!::GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters,
                             &totalClusters))
        return std::nullopt;
    return static_cast<std::uint64_t>(freeClusters) * sectorsPerCluster * bytesPerSector;
}

}  // namespace

int CheckDrive(int Drive, char* FileSystem, int cFileSystem, char* DiskLabel, int cDiskLabel) {
    if (cFileSystem > 0) std::memset(FileSystem, 0, static_cast<std::size_t>(cFileSystem));
    if (cDiskLabel > 0) std::memset(DiskLabel, 0, static_cast<std::size_t>(cDiskLabel));
    if (Drive < 1 || Drive > 26 || cFileSystem < 0 || cDiskLabel < 0) return kOtherDrive;
    char root[10];
    MakeRoot(Drive, root);
    int kind;
    switch (::GetDriveTypeA(root)) {
        case DRIVE_FIXED:
            kind = kFixedDrive;
            break;
        case DRIVE_REMOTE:
        case DRIVE_RAMDISK:
            kind = kNetworkOrRamDrive;
            break;
        default:
            return kOtherDrive;
    }
    // A volume that does not answer leaves the texts empty; the kind stands.
    ::GetVolumeInformationA(root, DiskLabel, static_cast<DWORD>(cDiskLabel), nullptr, nullptr,
                            nullptr, FileSystem, static_cast<DWORD>(cFileSystem));
    return kind;
}

std::vector<Volume> QueryVolumes() {
    std::vector<Volume> volumes;
    const DWORD drives = ::GetLogicalDrives();
    for (int drive = kFirstDrive; drive <= kLastDrive; ++drive) {
        if ((drives >> (drive - 1) & 1) == 0) continue;
        char fileSystem[kTextSize], diskLabel[kTextSize];
        const int kind = CheckDrive(drive, fileSystem, kTextSize, diskLabel, kTextSize);
        if (kind == kOtherDrive) continue;
        char root[10];
        MakeRoot(drive, root);
        const std::optional<std::uint64_t> free = FreeBytes(root);
        if (!free) continue;
        volumes.push_back({std::string(1, static_cast<char>(drive + 64)),
                           std::string(fileSystem, strnlen(fileSystem, kTextSize)),
                           std::string(diskLabel, strnlen(diskLabel, kTextSize)),
                           static_cast<DriveKind>(kind), *free});
    }
    return volumes;
}

}  // namespace qv
