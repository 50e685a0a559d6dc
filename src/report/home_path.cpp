#include "report/home_path.h"

#include "diag/log_folder.h"
#include "locale/text.h"
#include "platform/path.h"

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

const std::string& SettingsFolder() {
    return InstalledCopy ? InstalledCopy->config : HomePath;
}

}  // namespace qv
