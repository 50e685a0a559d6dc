// The few file operations the log writer needs.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

namespace qv {

// The file operations and the lock below use system calls only, without the
// heap or stdio, so that the report of a fault may use them while another
// thread holds the allocator's lock, or from a signal handler on POSIX.

// Size of the file in bytes; -1 when it does not exist or cannot be examined.
std::int64_t FileSize(const char* path);

// Appends the text to the file, creating it when missing, as one piece: entries
// of several processes never interleave, also when they append without the
// PathLock. On POSIX a symbolic link at the path is not followed. False when the
// file cannot be opened or written.
bool AppendToFile(const char* path, const char* text, std::size_t length);

bool RemoveFile(const char* path);
bool RenameFile(const char* from, const char* to);

// While it lives and holds the lock, no other process holding a PathLock on
// the same path gets one. It locks the path, not the file there, so it holds
// across a rename of the file (a rotated log): POSIX locks the path's folder
// (paths in one folder share the lock), Windows a mutex named after the path.
// Writers of a shared file take it around steps that must not interleave with
// another process's, such as a log's size test, rotation and append. It waits
// at most `wait` for the lock: a holder that does not let go must not stall
// the writer, which then learns so from IsHeld.
class PathLock {
  public:
    PathLock(const char* path, std::chrono::milliseconds wait);
    PathLock(const std::string& path, std::chrono::milliseconds wait)
        : PathLock(path.c_str(), wait) {}
    ~PathLock();
    PathLock(const PathLock&) = delete;
    PathLock& operator=(const PathLock&) = delete;

    // False when the lock could not be had in time, or at all.
    bool IsHeld() const { return Handle != kNoLock; }

  private:
    static constexpr std::intptr_t kNoLock = -1;
    std::intptr_t Handle = kNoLock;
};

}  // namespace qv
