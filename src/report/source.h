// Where the report takes its facts from. The system source reads the machine;
// tests hand the report fixed facts and texts.
#pragma once

#include <cstdint>
#include <string>

#include <vector>

#include "locale/country.h"
#include "platform/memory.h"
#include "platform/processes.h"
#include "platform/swap.h"
#include "platform/types.h"
#include "platform/volumes.h"

namespace qv {

class ReportSource {
  public:
    virtual ~ReportSource() = default;

    // String Id of the language library; "" when it is missing.
    virtual std::string String(ULONG Id) = 0;
    // The current date and time in the given format.
    virtual std::string FormatDateNow(const std::string& format) = 0;
    virtual std::uint64_t MillisecondsSinceStart() = 0;
    virtual MemoryStatus QueryMemoryStatus() = 0;
    virtual SwapFile QuerySwapFile() = 0;
    virtual int CountProcesses() = 0;
    virtual std::vector<Volume> QueryVolumes() = 0;
    // The conversion that the volume line's label takes for a volume's name.
    virtual char VolumeNameConversion() { return qv::VolumeNameConversion(); }
    // Whether free swap space is the paging store's free figure itself (see
    // FreeSwapIsStoreFree); the classic formula otherwise.
    virtual bool FreeSwapIsStoreFree() { return false; }
};

// The facts of this machine, with the labels of the loaded language library
// and the date in the locale the run took once. Building it looks up the
// optional process enumeration functions.
class SystemSource : public ReportSource {
  public:
    SystemSource(HANDLE library, const CountryInfo& locale) : Library(library), Locale(locale) {}

    std::string String(ULONG Id) override;
    std::string FormatDateNow(const std::string& format) override;
    std::uint64_t MillisecondsSinceStart() override;
    MemoryStatus QueryMemoryStatus() override;
    SwapFile QuerySwapFile() override;
    int CountProcesses() override;
    std::vector<Volume> QueryVolumes() override;
    bool FreeSwapIsStoreFree() override { return qv::FreeSwapIsStoreFree(); }

  private:
    HANDLE Library;
    const CountryInfo& Locale;
    ProcessCounter Processes;  // looks up the system's optional functions once
};

}  // namespace qv
