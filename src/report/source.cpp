#include "report/source.h"

#include "platform/clock.h"
#include "resource/restring.h"

namespace qv {

std::string SystemSource::String(ULONG Id) {
    return ResourceString(Library, Id).str();
}

std::uint64_t SystemSource::MillisecondsSinceStart() {
    return qv::MillisecondsSinceStart();
}

MemoryStatus SystemSource::QueryMemoryStatus() {
    return qv::QueryMemoryStatus();
}

SwapFile SystemSource::QuerySwapFile() {
    return qv::QuerySwapFile();
}

int SystemSource::CountProcesses() {
    return Processes.Count();
}

std::vector<Volume> SystemSource::QueryVolumes() {
    return qv::QueryVolumes();
}

}  // namespace qv
