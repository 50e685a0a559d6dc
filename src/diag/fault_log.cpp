#include "diag/fault_log.h"

#include <chrono>

#include "diag/log.h"
#include "platform/path.h"
#include "report/globals.h"

namespace qv {
namespace {

// The same waits as any entry's: the faulting thread itself may hold the lock
// (a fault in the middle of an entry), and then the report goes on without it.
constexpr std::chrono::milliseconds kLockWait(100);
constexpr std::chrono::milliseconds kRotationWait(500);

void BuildInHome(char* buffer, std::size_t size, const char* name) {
    FixedText path(buffer, size);
    if (!HomePath.empty()) {
        const char separator[2] = {PathSeparator(), '\0'};
        path.Add(HomePath.c_str()).Add(separator);
    }
    path.Add(name);
}

}  // namespace

FaultLog::FaultLog(std::int64_t localSeconds) : LocalSeconds(localSeconds) {
    BuildInHome(LogPath, sizeof LogPath, kLogFileName);
    BuildInHome(BackupPath, sizeof BackupPath, kLogBackupName);
}

void FaultLog::Write(const char* entry, std::size_t length) {
    const std::chrono::milliseconds none(0);
    const LogWrite written = WriteSharedLogEntry(LogPath, BackupPath, entry, length,
                                                 LockPassed ? none : kLockWait,
                                                 LockPassed ? none : kRotationWait);
    LockPassed = LockPassed || written != LogWrite::Locked;
}

}  // namespace qv
