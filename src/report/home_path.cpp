#include "report/home_path.h"

#include <atomic>

#include "locale/text.h"
#include "platform/path.h"
#include "report/globals.h"

namespace qv {

std::string HomePathOf(const std::string& executable, bool foldCase) {
    std::string path = executable;
    if (foldCase) FoldToUpper(path);
    const bool hasDrive = path.size() >= 2 && path[1] == ':';
    std::size_t end = std::string::npos;
    for (std::size_t i = 0; i < path.size(); ++i)
        if (IsPathSeparator(path[i])) end = i;
    if (end == std::string::npos) return hasDrive ? path.substr(0, 2) : std::string();
    const bool isRoot = end == (hasDrive ? 2u : 0u);
    if (isRoot && !hasDrive) return path.substr(0, 1);  // POSIX "/": no shorter form exists
    return path.substr(0, end);
}

const std::string* LogFolder() {
    if (!InstalledCopy) return &HomePath;
    const std::string& state = InstalledCopy->state;
    // One attempt a run. Two entries at once may both try: the second finds
    // the folder made.
    enum Made { kNotTried, kMade, kFailed };
    static std::atomic<Made> made{kNotTried};
    if (made == kNotTried) made = !state.empty() && MakeUserFolder(state.c_str()) ? kMade : kFailed;
    return made == kMade ? &state : nullptr;
}

const std::string& SettingsFolder() {
    return InstalledCopy ? InstalledCopy->config : HomePath;
}

}  // namespace qv
