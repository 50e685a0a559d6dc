#include "platform/posix/kernel_files.h"

#include <dirent.h>
#include <fcntl.h>

#include <cerrno>
#include <cstring>

#include "platform/posix/read_file.h"
#include "platform/problem.h"

namespace qv {
namespace {

// MemAvailable is what a new program can have without swapping: the free
// physical memory users mean; kernels before 3.14 give only MemFree. The
// paging store is the swap space.
MeminfoFigures FiguresOf(std::string_view meminfo) {
    MeminfoFigures figures;
    const auto available = MeminfoBytes(meminfo, "MemAvailable");
    figures.Status.availPhys =
        available ? *available : MeminfoBytes(meminfo, "MemFree").value_or(0);
    figures.Status.totalPageFile = MeminfoBytes(meminfo, "SwapTotal").value_or(0);
    figures.Status.availPageFile = MeminfoBytes(meminfo, "SwapFree").value_or(0);
    figures.MemTotal = MeminfoBytes(meminfo, "MemTotal").value_or(0);
    return figures;
}

bool IsProcessId(const char* name) {
    if (*name == '\0') return false;
    for (; *name != '\0'; ++name)
        if (*name < '0' || *name > '9') return false;
    return true;
}

}  // namespace

MeminfoFile::MeminfoFile(const std::string& root)
    : Path(root + "/proc/meminfo"), Fd(::open(Path.c_str(), O_RDONLY | O_CLOEXEC)) {
    if (!Fd.IsOpen())
        ReportProblem("QueryMemoryStatus: %s cannot be opened (%s); memory shows as none.",
                      Path.c_str(), std::strerror(errno));
}

BOOL MeminfoFile::Read(MeminfoFigures& figures) const {
    figures = {};
    if (!Fd.IsOpen()) return FALSE;
    const std::optional<std::string> meminfo = ReadKernelFileFromStart(Fd.Get());
    if (!meminfo) {
        ReportProblem("QueryMemoryStatus: %s cannot be read (%s); memory shows as none.",
                      Path.c_str(), std::strerror(errno));
        return FALSE;
    }
    figures = FiguresOf(*meminfo);
    return TRUE;
}

BOOL ReadFirstSwapArea(const std::string& root, std::optional<SwapArea>& first) {
    first.reset();
    const std::string path = root + "/proc/swaps";
    const std::optional<std::string> swaps = ReadWholeFile(path.c_str());
    if (!swaps) {
        ReportProblem("QuerySwapFile: %s cannot be read (%s); no swap file is shown.", path.c_str(),
                      std::strerror(errno));
        return FALSE;
    }
    first = FirstSwapArea(*swaps);
    return TRUE;
}

// Only the directory is read, never a file per process: a few system calls
// for thousands of processes.
BOOL CountProcesses(const std::string& root, int& count) {
    count = 0;
    const std::string path = root + "/proc";
    DIR* proc = ::opendir(path.c_str());
    if (proc == nullptr) {
        ReportProblem("ProcessCounter::Count: %s cannot be read (%s); no process is counted.",
                      path.c_str(), std::strerror(errno));
        return FALSE;
    }
    while (const dirent* entry = ::readdir(proc))
        if (IsProcessId(entry->d_name)) ++count;
    ::closedir(proc);
    return TRUE;
}

BOOL ReadMountTable(const std::string& root, MountTable& table) {
    const std::string path = root + "/proc/self/mountinfo";
    const std::optional<std::string> mountInfo = ReadWholeFile(path.c_str());
    table = ParseMountInfo(mountInfo ? *mountInfo : std::string());
    if (!mountInfo) {
        ReportProblem("QueryVolumes: %s cannot be read; only / is listed.", path.c_str());
        return FALSE;
    }
    if (table.Malformed != 0)
        ReportProblem("QueryVolumes: %i malformed lines of %s skipped.", table.Malformed,
                      path.c_str());
    return TRUE;
}

}  // namespace qv
