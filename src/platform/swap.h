// The swap (paging) file the report shows: the first one the system uses.
#pragma once

#include <cstdint>
#include <string>

namespace qv {

struct SwapFile {
    std::string Path;        // empty when there is none or it cannot be found
    std::uint64_t Size = 0;  // bytes, the whole size however large
};

SwapFile QuerySwapFile();

}  // namespace qv
