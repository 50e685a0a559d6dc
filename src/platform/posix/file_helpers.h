// Small pieces the POSIX file code shares: the log's lock and the settings
// store's writer both need a path's folder and an exclusive lock.
#pragma once

#include <string>

namespace qv {

// The folder part of the path with its trailing '/'; empty when it has none.
std::string DirectoryOf(const std::string& path);

// Takes the exclusive flock of the open file, waiting for it without limit
// (a signal does not end the wait). False, with errno set, when it fails.
bool LockExclusive(int fd);

}  // namespace qv
