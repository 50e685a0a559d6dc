// Paths of the platform: separators, case rules, the running executable.
#pragma once

#include <string>

namespace qv {

// The separator the platform puts between directory and name.
char PathSeparator();

// True for every character that separates path components on this platform.
bool IsPathSeparator(char c);

// True where file names are matched without regard to case, so that the system
// may fold them to upper case as it always has.
bool PathsFoldCase();

// The full path of the running executable, as the operating system records it;
// empty when it cannot be found.
std::string ExecutablePath();

// The path made absolute against the current directory; empty when that fails.
std::string AbsolutePath(const std::string& path);

// True when a regular file (or a link to one) exists at the path.
bool FileExists(const std::string& path);

}  // namespace qv
