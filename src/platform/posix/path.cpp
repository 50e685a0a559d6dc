#include "platform/path.h"

#include <errno.h>
#include <limits.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#include "platform/posix/path_parts.h"

namespace qv {

char PathSeparator() {
    return '/';
}

bool IsPathSeparator(char c) {
    return c == '/';
}

bool PathsFoldCase() {
    return false;
}

namespace {

// The link /proc/self/exe, whatever its length.
std::string ReadExecutableLink() {
    std::vector<char> buffer(PATH_MAX);
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) return {};
        if (static_cast<std::size_t>(length) < buffer.size())
            return std::string(buffer.data(), static_cast<std::size_t>(length));
        buffer.resize(buffer.size() * 2);
    }
}

std::string WithoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

// A base directory of the user's by the XDG base-directory rules: the
// variable when it holds an absolute path (a relative one is invalid and
// ignored), otherwise its default below $HOME. Empty when neither is usable:
// the program is linked statically, where the user database cannot be asked.
std::string UserBaseDirectory(const char* variable, const char* belowHome) {
    const char* value = ::getenv(variable);
    if (value && value[0] == '/') return WithoutTrailingSlashes(value);
    const char* home = ::getenv("HOME");
    if (!home || home[0] != '/') return {};
    const std::string base = WithoutTrailingSlashes(home);
    return (base == "/" ? std::string() : base) + belowHome;
}

std::string ProgramFolderIn(const std::string& base) {
    return base.empty() ? base : base + "/quorvant";
}

bool IsFolder(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// An install prefix (/usr, /usr/local, a --prefix of one's own) holds the
// program in bin/ and its data in share/quorvant, where the language
// library's loader looks for the catalogue; a build folder or an unpacked copy
// has the catalogue beside the program, which the loader then prefers. The
// folder, not the catalogue, tells: a copy whose catalogue went missing still
// belongs to its prefix and must not write into it.
bool RunsFromInstallPrefix(const std::string& executable) {
    const std::string folder = FolderOf(executable);
    const std::size_t slash = folder.rfind('/');
    if (slash == std::string::npos || folder.compare(slash + 1, std::string::npos, "bin") != 0)
        return false;
    return IsFolder(folder.substr(0, slash) + "/share/quorvant") &&
           !FileExists(folder + "/QUORVANT.cat");
}

}  // namespace

// The kernel's record of the running executable: right also when the program
// was started through PATH or a symbolic link.
std::string ExecutablePath() {
    static const std::string path = ReadExecutableLink();  // it cannot change while we run
    return path;
}

std::string AbsolutePath(const std::string& path) {
    if (!path.empty() && path[0] == '/') return path;
    std::vector<char> buffer(PATH_MAX);
    if (!::getcwd(buffer.data(), buffer.size())) return {};
    std::string directory = buffer.data();
    if (directory.back() != '/') directory += '/';
    return directory + path;
}

std::optional<InstalledFolders> InstalledCopyFolders(const std::string& executable) {
    if (!RunsFromInstallPrefix(executable)) return std::nullopt;
    return InstalledFolders{ProgramFolderIn(UserBaseDirectory("XDG_STATE_HOME", "/.local/state")),
                            ProgramFolderIn(UserBaseDirectory("XDG_CONFIG_HOME", "/.config"))};
}

// Folder by folder from the top, as `mkdir -p` does; a folder that is there
// already is left as it is.
bool MakeUserFolder(const char* path) {
    char folder[PATH_MAX];
    const std::size_t length = ::strlen(path);
    if (length == 0 || length >= sizeof folder) return false;
    ::memcpy(folder, path, length + 1);
    for (std::size_t end = 1; end <= length; ++end) {
        if (folder[end] != '/' && folder[end] != '\0') continue;
        const char saved = folder[end];
        folder[end] = '\0';
        const bool made = ::mkdir(folder, 0700) == 0 || errno == EEXIST;
        folder[end] = saved;
        if (!made) return false;
    }
    struct stat status {};
    return ::stat(path, &status) == 0 && S_ISDIR(status.st_mode);
}

bool FileExists(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

}  // namespace qv
