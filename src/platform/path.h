// Paths of the platform: separators, case rules, the running executable.
#pragma once

#include <optional>
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

// Where a copy put in place by a package or `cmake --install` keeps what a
// copy in a folder of its own keeps beside its executable: its log in `state`,
// its settings file (after the classic places) in `config`. Each is empty when
// the user has no such folder.
struct InstalledFolders {
    std::string state;
    std::string config;
};

// The folders of the running copy when it is an installed one; nothing for a
// copy that runs from a folder of its own, as every Windows copy does.
std::optional<InstalledFolders> InstalledCopyFolders(const std::string& executable);

// Makes the folder and every missing folder above it, each open to its owner
// alone; true when the path is a folder afterwards. Uses neither the heap nor
// stdio on POSIX, so that the report of a fault may call it.
bool MakeUserFolder(const char* path);

// The path made absolute against the current directory; empty when that fails.
std::string AbsolutePath(const std::string& path);

// True when a regular file (or a link to one) exists at the path.
bool FileExists(const std::string& path);

}  // namespace qv
