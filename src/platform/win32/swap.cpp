#include <windows.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/swap.h"
#include "platform/win32/paging_file.h"

namespace qv {
namespace {

constexpr const char* kMemoryManagementKey =
    "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management";

// The whole value, however long: only its first entry is used, and a list of
// many paging files must not hide the first one.
std::optional<std::string> ReadPagingFiles() {
    HKEY key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kMemoryManagementKey, 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return std::nullopt;
    std::optional<std::string> value;
    ::DWORD size = 0;  // Windows' own, not the system's DWORD
    if (::RegQueryValueExA(key, "PagingFiles", nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS) {
        std::vector<char> data(size + 1, '\0');
        if (::RegQueryValueExA(key, "PagingFiles", nullptr, nullptr,
                               reinterpret_cast<BYTE*>(data.data()), &size) == ERROR_SUCCESS)
            value = std::string(data.data(), std::min<std::size_t>(size, data.size() - 1));
    }
    ::RegCloseKey(key);
    return value;
}

// The registry way: the first paging file, measured by its whole size.
SwapFile SwapFileFromRegistry() {
    const std::optional<std::string> value = ReadPagingFiles();
    if (!value) return {};
    SwapFile swap;
    swap.Path = FirstPagingFilePath(*value);
    WIN32_FIND_DATAA found;
    const HANDLE lookup = ::FindFirstFileA(swap.Path.c_str(), &found);
    if (lookup == INVALID_HANDLE_VALUE) return {};
    ::FindClose(lookup);
    swap.Size = (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    return swap;
}

// Windows 95/98/ME name the swap file in the system profile; its size stays 0.
SwapFile SwapFileFromProfile() {
    char path[MAX_PATH] = {};
    ::GetProfileStringA("386enh", "PagingFile", "N/A", path, sizeof path);
    return {path, 0};
}

}  // namespace

std::string FirstPagingFilePath(const std::string& value) {
    const std::string first = value.substr(0, value.find('\0'));
    return first.substr(0, first.find(' '));
}

SwapFile SwapFileOfPlatform(::DWORD platformId) {
    return platformId == kWindows9xPlatform ? SwapFileFromProfile() : SwapFileFromRegistry();
}

SwapFile QuerySwapFile() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    ::GetVersionExA(&version);
    return SwapFileOfPlatform(version.dwPlatformId);
}

// The memory status's paging figures are those the classic formula was made for.
bool FreeSwapIsStoreFree() {
    return false;
}

}  // namespace qv
