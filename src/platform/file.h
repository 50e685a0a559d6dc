// The few file operations the log writer needs.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

namespace qv {

// The four file operations below use system calls only on POSIX, without the
// heap or stdio, so that the report of a fault may use them in its signal
// handler.

// Size of the file in bytes; -1 when it does not exist or cannot be examined.
std::int64_t FileSize(const char* path);

// Appends the text to the file, creating it when missing, in one write so that
// entries of several processes never interleave. On POSIX a symbolic link at the
// path is not followed. False when the file cannot be opened or written.
bool AppendToFile(const char* path, const char* text, std::size_t length);

bool RemoveFile(const char* path);
bool RenameFile(const char* from, const char* to);

// While it lives and holds the lock, no other process holding a FileLock on
// the same path gets one. Writers of a shared file take it around steps that
// must not interleave with another process's, such as a log's size test,
// rotation and append. It waits at most `wait` for the lock: a holder that does
// not let go must not stall the writer, which then goes on unlocked (see
// IsHeld), as writers did before there was a lock.
class FileLock {
  public:
    FileLock(const std::string& path, std::chrono::milliseconds wait);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // False when the lock could not be had in time, or at all.
    bool IsHeld() const { return Handle != kNoLock; }

  private:
    static constexpr std::intptr_t kNoLock = -1;
    std::intptr_t Handle = kNoLock;
};

}  // namespace qv
