// Free space of mounted file systems, asked in this process or, for those
// that may never answer, in child processes bounded by one deadline.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qv {

struct FreeSpace {
    std::uint64_t FreeBytes = 0;     // available to the user, saturated at 2^64 - 1
    std::uint64_t TotalBlocks = 0;   // 0 for file systems that store nothing
    std::uint64_t FileSystemId = 0;  // statfs's f_fsid; 0 where the file system gives none
    std::uint64_t TotalFiles = 0;    // inodes
};

// statvfs of the path in this process; nothing when it fails.
std::optional<FreeSpace> QueryFreeSpace(const std::string& path);

// The whole number of bytes of Count blocks of BlockSize bytes, saturated.
std::uint64_t BlockBytes(std::uint64_t count, std::uint64_t blockSize);

// Runs Query(i) for i below Count, each in a child process of its own with its
// standard streams on /dev/null, all at once. Answers that have not come
// within Deadline of the start are nothing; their children are killed and not
// waited for, so no stuck child can hold up the caller.
std::vector<std::optional<FreeSpace>> QueryInChildren(
    std::size_t Count, const std::function<std::optional<FreeSpace>(std::size_t)>& Query,
    std::chrono::milliseconds Deadline);

}  // namespace qv
