#include "platform/path.h"

#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

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

bool FileExists(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

}  // namespace qv
