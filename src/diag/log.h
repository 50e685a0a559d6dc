// The log file QUORVANT.LOG in the home directory, the "Debug" message box and
// the last system error as text.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>

#include "platform/types.h"

namespace qv {

class Mutex;

// Appends one entry "HH:MM:SS MM/DD/YY message" to the log. Never fails
// visibly: an entry that cannot be written is lost.
void Log(const char* Message, ...) __attribute__((format(printf, 1, 2)));

// Formats the text (at most 499 characters) and shows it in a modal box titled
// "Debug"; returns when the box is closed.
void Debug(HWND hwnd, const char* Message, ...) __attribute__((format(printf, 2, 3)));

// Writes the calling thread's last error code as eight upper-case hexadecimal
// digits into Message (at least 9 characters) and returns Message.
char* InterpretWinError(HANDLE Anchor, char* Message);

// A pointer-wide value (an address, a message parameter) for "%08llX": as
// wide as a pointer, at least eight digits, so that 32-bit values look as they
// always did.
constexpr unsigned long long Wide(std::uintptr_t value) {
    return value;
}

// The lock around every log entry: process-local, never traced.
Mutex& LogSemaphore();

// Log entries are rotated to the backup once the file passes this size.
constexpr std::int64_t kLogRotationSize = 100000;

// The names of the log and of its backup, in the home directory.
constexpr const char* kLogFileName = "QUORVANT.LOG";
constexpr const char* kLogBackupName = "LOGFILE.BAK";

// Where the log and its backup go for a given home path.
std::string LogFilePath(const std::string& homePath);
std::string LogBackupPath(const std::string& homePath);

// Writes one whole entry to the log at logPath: a log past kLogRotationSize
// first becomes the backup (the older backup is lost; failures leave the log in
// place), then the entry is appended in one write. Only for a writer that holds
// the log's PathLock, or has the log to itself. False when the entry is lost.
bool AppendLogEntry(const char* logPath, const char* backupPath, const char* entry,
                    std::size_t length);

// How long an entry waits for other processes' lock on the log. Long enough
// for a holder that is merely slow (a copy swapped out in the middle of an
// entry, many copies logging at once); a holder that keeps it longer, such as a
// copy stopped in a debugger, must not stall the program.
constexpr std::chrono::milliseconds kLogLockWait(500);

// Writes one whole entry the way every writer of a log shared with other
// processes must: under the log's lock, waiting at most `wait` for it. A writer
// that cannot get it in time appends the entry (appends are whole) but never
// rotates, so no backup is ever replaced by a second rotation and nothing is
// lost; the next holder of the lock rotates. True when written under the lock.
// Without the heap or stdio, so that the report of a fault writes through it.
bool WriteSharedLogEntry(const char* logPath, const char* backupPath, const char* entry,
                         std::size_t length, std::chrono::milliseconds wait);

// The entry as written: time, date, message and line end.
std::string LogEntry(const std::tm& now, const std::string& message);

}  // namespace qv
