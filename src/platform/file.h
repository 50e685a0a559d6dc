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

}  // namespace qv
