#include "platform/processes.h"

#include <dirent.h>

namespace qv {

// POSIX needs no optional functions: /proc always has one directory per process.
struct ProcessCounter::Functions {};

ProcessCounter::ProcessCounter() = default;
ProcessCounter::~ProcessCounter() = default;

namespace {

bool IsProcessId(const char* name) {
    if (*name == '\0') return false;
    for (; *name != '\0'; ++name)
        if (*name < '0' || *name > '9') return false;
    return true;
}

}  // namespace

// Only the directory is read, never a file per process: a few system calls
// for thousands of processes.
int ProcessCounter::Count() const {
    DIR* proc = ::opendir("/proc");
    if (proc == nullptr) return 0;
    int count = 0;
    while (const dirent* entry = ::readdir(proc))
        if (IsProcessId(entry->d_name)) ++count;
    ::closedir(proc);
    return count;
}

}  // namespace qv
