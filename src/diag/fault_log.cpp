#include "diag/fault_log.h"

#include <chrono>

#include "diag/log.h"
#include "diag/log_folder.h"
#include "platform/path.h"

namespace qv {
namespace {

// The log's folder, as the log writer takes it; without one the path stays
// empty, which no file has.
void BuildInHome(char* buffer, std::size_t size, const char* name) {
    FixedText path(buffer, size);
    const std::string* folder = LogFolder();
    if (!folder) return;
    if (!folder->empty()) {
        const char separator[2] = {PathSeparator(), '\0'};
        path.Add(folder->c_str()).Add(separator);
    }
    path.Add(name);
}

}  // namespace

FaultLog::FaultLog(std::int64_t localSeconds) : LocalSeconds(localSeconds) {
    BuildInHome(LogPath, sizeof LogPath, kLogFileName);
    BuildInHome(BackupPath, sizeof BackupPath, kLogBackupName);
}

// The faulting thread itself may hold the lock (a fault in the middle of an
// entry): the rest of the report then goes on without waiting for it.
void FaultLog::Write(const char* entry, std::size_t length) {
    const std::chrono::milliseconds wait = LockPassed ? std::chrono::milliseconds(0) : kLogLockWait;
    LockPassed = !WriteSharedLogEntry(LogPath, BackupPath, entry, length, wait) || LockPassed;
}

void WriteFaultReport(std::int64_t localSeconds, const FaultRegisters& registers,
                      const FaultCallers& callers) {
    FaultLog log(localSeconds);
    log.Entry([&](FixedText& text) { AddRegisterReport(text, registers, kWordDigits); });
    struct CallerEntries final : FaultCallers::Visitor {
        explicit CallerEntries(FaultLog& log) : Log(log) {}
        void Caller(std::uintptr_t returnAddress) override {
            Log.Entry([&](FixedText& text) { AddCallerLine(text, returnAddress, kWordDigits); });
        }
        FaultLog& Log;
    } entries(log);
    callers.Walk(entries);
}

}  // namespace qv
