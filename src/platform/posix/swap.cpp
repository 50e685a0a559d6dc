#include "platform/swap.h"

#include "platform/posix/kernel_files.h"

namespace qv {

// The first area of /proc/swaps with the size the kernel gives it; a system
// that swaps nowhere has no swap file.
SwapFile QuerySwapFile() {
    std::optional<SwapArea> first;
    if (!ReadFirstSwapArea("", first) || !first) return {};
    return {first->Path, first->Size};
}

// SwapTotal and SwapFree of /proc/meminfo count every swap area, while the
// classic formula's first file is one of them: total - first + free would show
// 240M free of 144M with two areas. Free swap is SwapFree itself.
bool FreeSwapIsStoreFree() {
    return true;
}

}  // namespace qv
