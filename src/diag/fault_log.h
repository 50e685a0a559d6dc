// The log writer of the report of a fault. It writes as every writer of the
// log does (under the log's lock between processes, rotating when due), but
// it allocates nothing, uses no stdio and takes no lock of the process: the
// fault may have struck while this process held any of them, the allocator's
// lock and the log's own included, and the report must neither hang nor fault
// again.
#pragma once

#include <cstdint>

#include "diag/fault_report.h"
#include "platform/exception.h"

namespace qv {

class FaultLog {
  public:
    // Entries are stamped with this moment, in seconds since 1970 in local time.
    explicit FaultLog(std::int64_t localSeconds);

    // One entry: the stamp, the text built by `fill(FixedText&)`, a line end.
    template <typename Fill>
    void Entry(Fill fill) {
        char buffer[1024];
        FixedText text(buffer, sizeof buffer);
        AddLogStamp(text, LocalSeconds);
        fill(text);
        text.Add("\n");
        Write(text.Text(), text.Length());
    }

  private:
    static constexpr std::size_t kPathSize = 4096;
    void Write(const char* entry, std::size_t length);

    char LogPath[kPathSize];
    char BackupPath[kPathSize];
    std::int64_t LocalSeconds;
    // Once the lock could not be had, the rest of the report does not wait for it.
    bool LockPassed = false;
};

// The report of a fault, as the fault handler hands it over (see
// platform/exception.h): one entry with the registers, then one per calling
// frame, innermost first, each written to the log as it is found.
void WriteFaultReport(std::int64_t localSeconds, const FaultRegisters& registers,
                      const FaultCallers& callers);

}  // namespace qv
