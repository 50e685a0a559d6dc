#include "report/source.h"

#include "platform/clock.h"
#include "resource/date_text.h"
#include "resource/restring.h"

namespace qv {

std::string SystemSource::String(ULONG Id) {
    return ResourceString(Library, Id).str();
}

// The date text holds 99 characters, as the report has always allowed it:
// characters, not bytes, so that twelve Russian day names fit as English ones do.
std::string SystemSource::FormatDateNow(const std::string& format) {
    constexpr std::size_t kDateCharacters = 99;
    return FormatDateText(format, kDateCharacters, 0, Locale, Library);
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
