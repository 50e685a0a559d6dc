// The memory status of the machine, in bytes.
#pragma once

#include <cstdint>

namespace qv {

struct MemoryStatus {
    std::uint64_t availPhys = 0;      // free physical memory
    std::uint64_t totalPageFile = 0;  // size of the paging store
    std::uint64_t availPageFile = 0;  // free space in the paging store
};

MemoryStatus QueryMemoryStatus();

}  // namespace qv
