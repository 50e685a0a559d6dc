#include "platform/file.h"

#include <windows.h>

#include <algorithm>
#include <limits>
#include <string_view>

namespace qv {
namespace {

// A text file on Windows ends its lines with CR LF, as the C library's text
// mode writes them: every line feed gets a carriage return before it.
std::string WithTextModeLineEnds(const char* text, std::size_t length) {
    std::string converted;
    converted.reserve(length + static_cast<std::size_t>(std::count(text, text + length, '\n')));
    for (const char c : std::string_view(text, length)) {
        if (c == '\n') converted += '\r';
        converted += c;
    }
    return converted;
}

}  // namespace

std::int64_t FileSize(const char* path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return -1;
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) |
                                     data.nFileSizeLow);
}

// Opened with append access only, every write goes to the end of the file as
// one piece, so entries of several processes never interleave.
bool AppendToFile(const char* path, const char* text, std::size_t length) {
    const std::string content = WithTextModeLineEnds(text, length);
    if (content.size() > std::numeric_limits<::DWORD>::max()) return false;
    const ::HANDLE file = ::CreateFileA(path, FILE_APPEND_DATA,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    ::DWORD written = 0;
    const bool wrote = ::WriteFile(file, content.data(), static_cast<::DWORD>(content.size()),
                                   &written, nullptr) != 0;
    const bool closed = ::CloseHandle(file) != 0;
    return wrote && closed && written == content.size();
}

bool RemoveFile(const char* path) {
    return ::DeleteFileA(path) != 0;
}

bool RenameFile(const char* from, const char* to) {
    return ::MoveFileA(from, to) != 0;
}

// A mutex of the session named after the path. A holder that died leaves it
// abandoned, and the next one takes it over.
FileLock::FileLock(const std::string& path, std::chrono::milliseconds wait) {
    std::string name = "Local\\quorvant-file:" + path;
    std::replace(name.begin() + 6, name.end(), '\\', '/');  // only the namespace takes one
    const ::HANDLE mutex = ::CreateMutexA(nullptr, FALSE, name.c_str());
    if (!mutex) return;
    const ::DWORD waited = ::WaitForSingleObject(mutex, static_cast<::DWORD>(wait.count()));
    if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED)
        Handle = reinterpret_cast<std::intptr_t>(mutex);
    else
        ::CloseHandle(mutex);
}

FileLock::~FileLock() {
    if (!IsHeld()) return;
    const ::HANDLE mutex = reinterpret_cast<::HANDLE>(Handle);
    ::ReleaseMutex(mutex);
    ::CloseHandle(mutex);
}

}  // namespace qv
