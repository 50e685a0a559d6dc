// Where the report takes its facts from. The system source reads the machine;
// tests hand the report fixed facts and texts.
#pragma once

#include <cstdint>
#include <string>

#include "platform/memory.h"
#include "platform/types.h"

namespace qv {

class ReportSource {
  public:
    virtual ~ReportSource() = default;

    // String Id of the language library; "" when it is missing.
    virtual std::string String(ULONG Id) = 0;
    virtual std::uint64_t MillisecondsSinceStart() = 0;
    virtual MemoryStatus QueryMemoryStatus() = 0;
};

// The facts of this machine, with the labels of the loaded language library.
class SystemSource : public ReportSource {
  public:
    explicit SystemSource(HANDLE library) : Library(library) {}

    std::string String(ULONG Id) override;
    std::uint64_t MillisecondsSinceStart() override;
    MemoryStatus QueryMemoryStatus() override;

  private:
    HANDLE Library;
};

}  // namespace qv
