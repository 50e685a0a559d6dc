// Opening and reading a whole small file, such as those under /proc.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace qv {

// Opens a regular file for reading without waiting to open it: a FIFO
// without a writer or a device that waits for a carrier would otherwise stall
// the program for good. Anything but a regular file (files under /proc and
// /sys are regular) is no file: it is logged and gives -1 with errno EINVAL.
// Opened for reading, or for reading and writing.
int OpenRegularFile(const char* path, bool readWrite = false);

// The file's contents, read to its end (files under /proc report no size);
// nothing when it is no regular file or cannot be opened or read, or (errno
// EFBIG) when it holds more than Limit bytes.
std::optional<std::string> ReadWholeFile(const char* path, std::size_t limit = SIZE_MAX);

// The contents of an open file from its start to its end, whatever its offset;
// a file under /proc kept open gives its current contents each time.
std::optional<std::string> ReadFromStart(int fd, std::size_t limit = SIZE_MAX);

// The same for a kernel file kept open (under /proc or a cgroup folder),
// without asking its size first: such files report none, so each read makes
// one system call fewer. Any other file reads right too, in growing chunks.
std::optional<std::string> ReadKernelFileFromStart(int fd, std::size_t limit = SIZE_MAX);

}  // namespace qv
