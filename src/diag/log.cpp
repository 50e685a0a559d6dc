#include "diag/log.h"

#include <atomic>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <vector>

#include "diag/log_folder.h"
#include "platform/clock.h"
#include "platform/error.h"
#include "platform/file.h"
#include "platform/mutex.h"
#include "platform/path.h"
#include "platform/problem.h"
#include "platform/system.h"

namespace qv {
namespace {

std::string FormatArguments(const char* format, std::va_list args) {
    std::va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (length <= 0) return {};
    std::vector<char> text(static_cast<size_t>(length) + 1);
    std::vsnprintf(text.data(), text.size(), format, args);
    return std::string(text.data(), static_cast<size_t>(length));
}

// After a wait that passed without the lock, the next entries wait only this
// long for it until one gets it again: a stuck holder costs the run one wait,
// not one per entry, and the later entries still take the lock once it is free.
constexpr std::chrono::milliseconds kRetryWait(10);

std::atomic<bool> LockWaitPassed{false};

std::string InHome(const std::string& homePath, const char* name) {
    return homePath + PathSeparator() + name;
}

void LogProblem(const char* line) {
    Log("%s", line);
}

// The platform layer's problems go to the log from the start: set while the
// program loads, so no entry point or test has to remember it.
[[maybe_unused]] const bool ProblemsGoToTheLog = (SetProblemSink(&LogProblem), true);

}  // namespace

Mutex& LogSemaphore() {
    static Mutex semaphore(nullptr, nullptr, TRUE);
    return semaphore;
}

std::string LogFilePath(const std::string& homePath) {
    return homePath.empty() ? std::string(kLogFileName) : InHome(homePath, kLogFileName);
}

// The backup stays beside the log, also when the home path is not yet known.
std::string LogBackupPath(const std::string& homePath) {
    return homePath.empty() ? std::string(kLogBackupName) : InHome(homePath, kLogBackupName);
}

// The size test comes before every entry, so the log grows past the threshold
// by one entry at most.
bool AppendLogEntry(const char* logPath, const char* backupPath, const char* entry,
                    std::size_t length) {
    if (FileSize(logPath) > kLogRotationSize) {
        RemoveFile(backupPath);
        RenameFile(logPath, backupPath);
    }
    return AppendToFile(logPath, entry, length);
}

bool WriteSharedLogEntry(const char* logPath, const char* backupPath, const char* entry,
                         std::size_t length, std::chrono::milliseconds wait) {
    const PathLock lock(logPath, wait);
    if (lock.IsHeld()) {
        AppendLogEntry(logPath, backupPath, entry, length);
        return true;
    }
    AppendToFile(logPath, entry, length);
    return false;
}

std::string LogEntry(const std::tm& now, const std::string& message) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%02d:%02d:%02d %02d/%02d/%02d ", now.tm_hour % 100,
                  now.tm_min % 100, now.tm_sec % 100, (now.tm_mon + 1) % 100, now.tm_mday % 100,
                  (now.tm_year % 100 + 100) % 100);
    return stamp + message + "\n";
}

void Log(const char* Message, ...) {
    std::va_list args;
    va_start(args, Message);
    const std::string message = FormatArguments(Message, args);
    va_end(args);

    const DWORD savedError = LastError();  // logging must not disturb the caller's error
    Mutex& lock = LogSemaphore();
    lock.Request(-1);
    if (const std::string* folder = LogFolder()) {  // none: this run keeps no log
        const std::string homePath = *folder;
        const std::string path = LogFilePath(homePath);
        const std::string entry = LogEntry(LocalTime(std::time(nullptr)), message);
        const bool locked =
            WriteSharedLogEntry(path.c_str(), LogBackupPath(homePath).c_str(), entry.data(),
                                entry.size(), LockWaitPassed ? kRetryWait : kLogLockWait);
        LockWaitPassed = !locked;
    }
    lock.Release();
    SetLastError(savedError);
}

void Debug(HWND hwnd, const char* Message, ...) {
    char text[500];
    std::va_list args;
    va_start(args, Message);
    std::vsnprintf(text, sizeof text, Message, args);
    va_end(args);
    Sys_MessageBox(nullptr, hwnd, text, "Debug", 0, 0);
}

char* InterpretWinError(HANDLE, char* Message) {
    std::snprintf(Message, 9, "%08X", static_cast<unsigned>(LastError()));
    return Message;
}

}  // namespace qv
