#include "platform/swap.h"

#include "platform/posix/proc_text.h"
#include "platform/posix/read_file.h"

namespace qv {

// The first area of /proc/swaps with the size the kernel gives it; a system
// that swaps nowhere has no swap file.
SwapFile QuerySwapFile() {
    const std::optional<std::string> swaps = ReadWholeFile("/proc/swaps");
    if (!swaps) return {};
    const std::optional<SwapArea> first = FirstSwapArea(*swaps);
    if (!first) return {};
    return {first->Path, first->Size};
}

}  // namespace qv
