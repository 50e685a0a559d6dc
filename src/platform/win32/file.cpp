#include "platform/file.h"

#include <windows.h>

namespace qv {
namespace {

// Paths are converted into buffers on the stack: the ANSI functions of the
// system convert some names on the heap, and the report of a fault must not
// touch the heap, whose lock the faulting thread may hold.
constexpr int kWidePath = 1024;

bool ToWide(const char* path, wchar_t (&wide)[kWidePath]) {
    return ::MultiByteToWideChar(CP_ACP, 0, path, -1, wide, kWidePath) > 0;
}

// Appends go through a byte-range lock far past any end of the log: an append
// with only FILE_APPEND_DATA access is not one piece between processes
// everywhere (Wine moves to the end and writes in two steps). The range is held
// only across one entry's writes, by writers that wait for nothing else; one
// that keeps it longer than this (a process stopped in mid-write) is passed by.
constexpr ::DWORD kAppendRangeHigh = 0x40000000;
constexpr int kAppendRangeTries = 1000;  // about a second of 1 ms pauses

bool LockAppendRange(::HANDLE file) {
    for (int tries = 0; tries < kAppendRangeTries; ++tries) {
        OVERLAPPED at{};
        at.OffsetHigh = kAppendRangeHigh;
        if (::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at))
            return true;
        ::Sleep(1);
    }
    return false;
}

void UnlockAppendRange(::HANDLE file) {
    OVERLAPPED at{};
    at.OffsetHigh = kAppendRangeHigh;
    ::UnlockFileEx(file, 0, 1, 0, &at);
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
    wchar_t wide[kWidePath];
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!ToWide(path, wide) || !::GetFileAttributesExW(wide, GetFileExInfoStandard, &data))
        return -1;
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) |
                                     data.nFileSizeLow);
}

bool AppendToFile(const char* path, const char* text, std::size_t length) {
    wchar_t wide[kWidePath];
    if (!ToWide(path, wide)) return false;
    const ::HANDLE file =
        ::CreateFileW(wide, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool locked = LockAppendRange(file);
    LARGE_INTEGER none{};
    const bool wrote = ::SetFilePointerEx(file, none, nullptr, FILE_END) &&
                       WriteWithTextModeLineEnds(file, text, length);
    if (locked) UnlockAppendRange(file);
    const bool closed = ::CloseHandle(file) != 0;
    return wrote && closed;
}

bool RemoveFile(const char* path) {
    wchar_t wide[kWidePath];
    return ToWide(path, wide) && ::DeleteFileW(wide) != 0;
}

bool RenameFile(const char* from, const char* to) {
    wchar_t wideFrom[kWidePath], wideTo[kWidePath];
    return ToWide(from, wideFrom) && ToWide(to, wideTo) && ::MoveFileW(wideFrom, wideTo) != 0;
}

// A mutex of the session named after the path (backslashes become slashes:
// only the namespace may hold one). A holder that died leaves it abandoned,
// and the next one takes it over.
FileLock::FileLock(const char* path, std::chrono::milliseconds wait) {
    static constexpr wchar_t kPrefix[] = L"Local\\quorvant-file:";
    constexpr int kPrefixLength = sizeof kPrefix / sizeof kPrefix[0] - 1;
    wchar_t name[kPrefixLength + kWidePath];
    for (int i = 0; i < kPrefixLength; ++i) name[i] = kPrefix[i];
    if (::MultiByteToWideChar(CP_ACP, 0, path, -1, name + kPrefixLength, kWidePath) <= 0) return;
    for (wchar_t* c = name + kPrefixLength; *c; ++c)
        if (*c == L'\\') *c = L'/';
    const ::HANDLE mutex = ::CreateMutexW(nullptr, FALSE, name);
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
