#include <algorithm>

#include "report/report.h"

namespace qv {

std::uint64_t SwapFree(std::uint64_t totalPageFile, std::uint64_t swapSize,
                       std::uint64_t availPageFile) {
    if (totalPageFile + availPageFile < swapSize) return 0;
    return totalPageFile - swapSize + availPageFile;
}

// The swap file's line carries the file's path in parentheses after the label
// (empty parentheses when there is none); free swap is the paging store's
// total less the first file's size plus its free space, or where the system's
// figures count every swap area, the store's free space, never above its
// total; the slack is the free space of the paging store. Each line reads the
// memory status afresh.
std::string Report::SwapLines() {
    const std::string sizeLabel = Source.String(kSwapFileSize);
    const SwapFile swap = Source.QuerySwapFile();
    std::string text =
        ValueLine(sizeLabel + " (" + PrintableText(swap.Path) + ")", FormatBytes(swap.Size));

    const std::string freeLabel = Source.String(kSwapSpaceFree);
    const MemoryStatus forFree = Source.QueryMemoryStatus();
    const std::uint64_t swapFree =
        Source.FreeSwapIsStoreFree()
            ? std::min(forFree.availPageFile, forFree.totalPageFile)
            : SwapFree(forFree.totalPageFile, swap.Size, forFree.availPageFile);
    text += ValueLine(freeLabel, FormatBytes(swapFree));

    const std::string slackLabel = Source.String(kSwapSlackFree);
    text += ValueLine(slackLabel, FormatBytes(Source.QueryMemoryStatus().availPageFile));
    return text;
}

}  // namespace qv
