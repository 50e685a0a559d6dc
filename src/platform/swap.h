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

// Whether the free swap space of the report is the paging store's free figure
// as it stands (the free space of every swap area of Linux, never above their
// total) rather than the classic total - first file + free of Windows, whose
// figures it was made for.
bool FreeSwapIsStoreFree();

}  // namespace qv
