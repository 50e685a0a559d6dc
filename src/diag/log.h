// The log file QUORVANT.LOG in the home directory, the "Debug" message box and
// the last system error as text.
#pragma once

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

// Writes one whole entry to the log at logPath the way every writer of the log
// must: a log past kLogRotationSize first becomes the backup (the older backup
// is lost; failures leave the log in place), then the entry is appended in one
// write. Without the heap, stdio or a lock on POSIX, so that the report of a
// fault writes through it too. False when the entry is lost.
bool AppendLogEntry(const char* logPath, const char* backupPath, const char* entry,
                    std::size_t length);

// The entry as written: time, date, message and line end.
std::string LogEntry(const std::tm& now, const std::string& message);

}  // namespace qv
