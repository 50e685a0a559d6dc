#include "platform/file.h"

#include <windows.h>

#include <cstring>

namespace qv {
namespace {

// Nothing here allocates on its own: the report of a fault writes through
// these functions, and another thread may be inside the allocator. The ANSI
// functions keep the program working on both families of Windows.

// Appends go through a byte-range lock far past any end of the log: an append
// with only FILE_APPEND_DATA access is not one piece between processes
// everywhere (Wine moves to the end and writes in two steps). The range is held
// only across one entry's writes, by writers that wait for nothing else; one
// that keeps it longer than a second (a process stopped in mid-write) is passed
// by, and where the file system has no such locks the append goes on without.
constexpr ::DWORD kAppendRangeHigh = 0x40000000;
constexpr ::DWORD kAppendRangeWaitMs = 1000;

bool LockAppendRange(::HANDLE file) {
    const ::DWORD start = ::GetTickCount();
    while (!::LockFile(file, 0, kAppendRangeHigh, 1, 0)) {
        if (::GetLastError() != ERROR_LOCK_VIOLATION) return false;
        if (::GetTickCount() - start >= kAppendRangeWaitMs) return false;
        ::Sleep(1);
    }
    return true;
}

void UnlockAppendRange(::HANDLE file) {
    ::UnlockFile(file, 0, kAppendRangeHigh, 1, 0);
}

// A text file on Windows ends its lines with CR LF, as the C library's text
// mode writes them: every line feed gets a carriage return before it. Written
// in pieces through a buffer on the stack.
bool WriteWithTextModeLineEnds(::HANDLE file, const char* text, std::size_t length) {
    char piece[1024];
    std::size_t used = 0;
    const auto flush = [&] {
        ::DWORD written = 0;
        const bool whole =
            used == 0 || (::WriteFile(file, piece, static_cast<::DWORD>(used), &written, nullptr) &&
                          written == used);
        used = 0;
        return whole;
    };
    for (std::size_t i = 0; i < length; ++i) {
        if (used + 2 > sizeof piece && !flush()) return false;
        if (text[i] == '\n') piece[used++] = '\r';
        piece[used++] = text[i];
    }
    return flush();
}

}  // namespace

std::int64_t FileSize(const char* path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return -1;
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) |
                                     data.nFileSizeLow);
}

bool AppendToFile(const char* path, const char* text, std::size_t length) {
    const ::HANDLE file =
        ::CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool locked = LockAppendRange(file);
    const bool wrote = ::SetFilePointer(file, 0, nullptr, FILE_END) != INVALID_SET_FILE_POINTER &&
                       WriteWithTextModeLineEnds(file, text, length);
    if (locked) UnlockAppendRange(file);
    const bool closed = ::CloseHandle(file) != 0;
    return wrote && closed;
}

bool RemoveFile(const char* path) {
    return ::DeleteFileA(path) != 0;
}

bool RenameFile(const char* from, const char* to) {
    return ::MoveFileA(from, to) != 0;
}

// A mutex of the session named after the path (backslashes become slashes:
// only the namespace may hold one), built on the stack. A holder that died
// leaves it abandoned, and the next one takes it over.
PathLock::PathLock(const char* path, std::chrono::milliseconds wait) {
    static constexpr char kPrefix[] = "Local\\quorvant-file:";
    char name[sizeof kPrefix + MAX_PATH * 4];
    const std::size_t length = std::strlen(path);
    if (length >= sizeof name - sizeof kPrefix) return;
    std::memcpy(name, kPrefix, sizeof kPrefix - 1);
    for (std::size_t i = 0; i <= length; ++i)
        name[sizeof kPrefix - 1 + i] = path[i] == '\\' ? '/' : path[i];
    const ::HANDLE mutex = ::CreateMutexA(nullptr, FALSE, name);
    if (!mutex) return;
    const ::DWORD waited = ::WaitForSingleObject(mutex, static_cast<::DWORD>(wait.count()));
    if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED)
        Handle = reinterpret_cast<std::intptr_t>(mutex);
    else
        ::CloseHandle(mutex);
}

PathLock::~PathLock() {
    if (!IsHeld()) return;
    const ::HANDLE mutex = reinterpret_cast<::HANDLE>(Handle);
    ::ReleaseMutex(mutex);
    ::CloseHandle(mutex);
}

}  // namespace qv
