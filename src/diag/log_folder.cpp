#include "diag/log_folder.h"

#include <atomic>

namespace qv {

std::string HomePath;
std::optional<InstalledFolders> InstalledCopy;

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

}  // namespace qv
