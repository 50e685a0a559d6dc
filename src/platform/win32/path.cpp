#include "platform/path.h"

#include <windows.h>

#include <vector>

namespace qv {

char PathSeparator() {
    return '\\';
}

bool IsPathSeparator(char c) {
    return c == '\\' || c == '/';
}

bool PathsFoldCase() {
    return true;
}

// GetModuleFileNameA fills the whole buffer when it had to cut the path: then
// the buffer grows and the call is repeated.
std::string ExecutablePath() {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const ::DWORD length =
            ::GetModuleFileNameA(nullptr, buffer.data(), static_cast<::DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

// The size asked for first may be too small by the time of the second call
// when another thread changes the current directory in between.
std::string AbsolutePath(const std::string& path) {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const ::DWORD length = ::GetFullPathNameA(path.c_str(), static_cast<::DWORD>(buffer.size()),
                                                  buffer.data(), nullptr);
        if (length == 0) return {};
        if (length < buffer.size()) return std::string(buffer.data(), length);
        buffer.resize(length);
    }
}

// A Windows copy runs from a folder of its own (the unpacked zip) and keeps
// its files beside itself.
std::optional<InstalledFolders> InstalledCopyFolders(const std::string&) {
    return std::nullopt;
}

// Folder by folder from the top; a drive ("C:"), the root or a folder that is
// there already is left as it is. No Windows copy asks for it today.
bool MakeUserFolder(const char* path) {
    std::string folder = path;
    for (std::size_t end = 1; end <= folder.size(); ++end) {
        if (end < folder.size() && !IsPathSeparator(folder[end])) continue;
        const std::string upTo = folder.substr(0, end);
        if (upTo.back() == ':' || upTo.find_first_not_of("\\/") == std::string::npos) continue;
        if (!::CreateDirectoryA(upTo.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
    }
    const ::DWORD attributes = ::GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileExists(const std::string& path) {
    const ::DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace qv
