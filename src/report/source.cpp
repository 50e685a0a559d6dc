#include "report/source.h"

#include "locale/datefmt.h"
#include "platform/clock.h"
#include "resource/restring.h"

namespace qv {

std::string SystemSource::String(ULONG Id) {
    return ResourceString(Library, Id).str();
}

// The date text holds 99 characters, as the report has always allowed it.
std::string SystemSource::FormatDateNow(const std::string& format) {
    char text[100];
    return FormatDate(format.c_str(), text, sizeof text, 0);
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
