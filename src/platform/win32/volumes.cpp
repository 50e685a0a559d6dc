#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>
#include <utility>

#include "platform/win32/check_drive.h"
#include "platform/win32/drive_volumes.h"
#include "platform/win32/system_function.h"

namespace qv {
namespace {

constexpr int kFirstDrive = 3;  // C:; A: and B: are never examined
constexpr int kLastDrive = 26;  // Z:
constexpr int kTextSize = 80;

void MakeRoot(int drive, char (&root)[10]) {
    std::snprintf(root, sizeof root, "%c:\\", static_cast<char>(drive + 64));
}

using FreeSpaceEx = ::BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
// Looked up before main, so that the drives' threads share it without a lock.
const FreeSpaceEx freeSpaceEx = SystemFunction<FreeSpaceEx>("kernel32.dll", "GetDiskFreeSpaceExA");

// What the user may still write, in bytes. GetDiskFreeSpaceExA, where the
// system has it, is exact beyond 2 GiB and heeds quotas; the cluster figures of
// GetDiskFreeSpaceA are the fallback, multiplied out in 64 bits.
std::optional<std::uint64_t> FreeBytes(const char* root) {
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

std::optional<Volume> QueryDrive(int Drive) {
    char fileSystem[kTextSize], diskLabel[kTextSize];
    const int kind = CheckDrive(Drive, fileSystem, kTextSize, diskLabel, kTextSize);
    if (kind == kOtherDrive) return std::nullopt;
    char root[10];
    MakeRoot(Drive, root);
    const std::optional<std::uint64_t> free = FreeBytes(root);
    if (!free) return std::nullopt;
    return Volume{std::string(1, static_cast<char>(Drive + 64)),
                  std::string(fileSystem, strnlen(fileSystem, kTextSize)),
                  std::string(diskLabel, strnlen(diskLabel, kTextSize)),
                  static_cast<DriveKind>(kind), *free};
}

namespace {

// What a drive's thread is given and hands back. The caller frees it once the
// thread has ended; that of a thread still asking is never freed, since the
// thread may yet write its answer into it.
struct DriveJob {
    int Drive;
    DriveQuery Query;
    std::optional<Volume> Answer;
};

DWORD WINAPI AnswerDrive(LPVOID parameter) {
    DriveJob* job = static_cast<DriveJob*>(parameter);
    job->Answer = job->Query(job->Drive);
    return 0;
}

// Room for the system's volume calls; reserved, not committed.
constexpr SIZE_T kDriveThreadStack = 256 * 1024;

}  // namespace

std::vector<Volume> VolumesOfDrives(::DWORD Drives, DriveQuery Query,
                                    std::chrono::milliseconds Deadline) {
    const auto deadline = std::chrono::steady_clock::now() + Deadline;
    std::vector<DriveJob*> jobs;
    std::vector<HANDLE> threads;
    for (int drive = kFirstDrive; drive <= kLastDrive; ++drive) {
        if ((Drives >> (drive - 1) & 1) == 0) continue;
        auto* job = new DriveJob{drive, Query, std::nullopt};
        const HANDLE thread = ::CreateThread(nullptr, kDriveThreadStack, AnswerDrive, job,
                                             STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
        if (!thread) {  // not asked: left out like a drive that does not answer
            delete job;
            continue;
        }
        jobs.push_back(job);
        threads.push_back(thread);
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (!threads.empty())
        ::WaitForMultipleObjects(static_cast<DWORD>(threads.size()), threads.data(), TRUE,
                                 static_cast<DWORD>(std::max<long long>(left.count(), 0)));

    std::vector<Volume> volumes;
    for (std::size_t i = 0; i < threads.size(); ++i) {
        if (::WaitForSingleObject(threads[i], 0) == WAIT_OBJECT_0) {
            if (jobs[i]->Answer) volumes.push_back(std::move(*jobs[i]->Answer));
            delete jobs[i];
        }
        ::CloseHandle(threads[i]);  // a thread still asking runs on without its handle
    }
    return volumes;
}

std::vector<Volume> QueryVolumes() {
    return VolumesOfDrives(::GetLogicalDrives(), QueryDrive, kSlowVolumeDeadline);
}

// A volume is named by its drive letter.
char VolumeNameConversion() {
    return 'c';
}

}  // namespace qv
