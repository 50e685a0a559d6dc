#include "platform/processes.h"

#include "platform/posix/kernel_files.h"

namespace qv {

// POSIX needs no optional functions: /proc always has one directory per process.
struct ProcessCounter::Functions {};

ProcessCounter::ProcessCounter() = default;
ProcessCounter::~ProcessCounter() = default;

int ProcessCounter::Count() const {
    int count = 0;
    CountProcesses("", count);
    return count;
}

}  // namespace qv
