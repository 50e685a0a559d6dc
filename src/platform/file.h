// The few file operations the log writer needs.
#pragma once

#include <cstdint>
#include <string>

namespace qv {

// Size of the file in bytes; -1 when it does not exist or cannot be examined.
std::int64_t FileSize(const std::string& path);

// Appends the text to the file, creating it when missing, in one write so that
// entries of several processes never interleave. On POSIX a symbolic link at the
// path is not followed. False when the file cannot be opened or written.
bool AppendToFile(const std::string& path, const std::string& text);

bool RemoveFile(const std::string& path);
bool RenameFile(const std::string& from, const std::string& to);

// While it lives, no other process holding a FileLock on the same path gets
// one. Writers of a shared file take it around steps that must not interleave
// with another process's, such as a log's size test, rotation and append.
// Waits without limit; where the lock cannot be had, the holder goes on
// unlocked, as writers did before there was a lock.
class FileLock {
  public:
    explicit FileLock(const std::string& path);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

  private:
    std::intptr_t Handle;
};

}  // namespace qv
