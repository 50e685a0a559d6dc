// The kernel's files that the report's figures come from, read under a root
// folder: "" for the running system, or a folder laid out as / is (proc/...)
// that holds fixture files. Each reader answers TRUE with what it read, or
// FALSE after one line through ReportProblem, leaving the figures at the
// fallback its caller shows (zeros, no swap file, only the root volume).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/memory.h"
#include "platform/posix/mount_table.h"
#include "platform/posix/proc_text.h"
#include "platform/posix/unique_fd.h"
#include "platform/types.h"

namespace qv {

struct MeminfoFigures {
    MemoryStatus Status;         // free memory, swap total and free
    std::uint64_t MemTotal = 0;  // the machine's physical memory
};

// /proc/meminfo, kept open: each report line asks afresh, and a read from the
// start of the open file gives the kernel's current figures without opening
// it again.
class MeminfoFile {
  public:
    // A file that cannot be opened is reported here, once.
    explicit MeminfoFile(const std::string& root);

    // FALSE when the file could not be opened (reported already) or read.
    BOOL Read(MeminfoFigures& figures) const;

  private:
    std::string Path;
    UniqueFd Fd;
};

// The first area of /proc/swaps; nothing in it when the system swaps nowhere.
BOOL ReadFirstSwapArea(const std::string& root, std::optional<SwapArea>& first);

// The processes of /proc: one folder each, named by its number.
BOOL CountProcesses(const std::string& root, int& count);

// /proc/self/mountinfo parsed; its malformed lines are skipped and reported.
BOOL ReadMountTable(const std::string& root, MountTable& table);

}  // namespace qv
