#include "report/globals.h"

namespace qv {

std::string HomePath;
std::optional<InstalledFolders> InstalledCopy;
HANDLE LibraryHandle = nullptr;

}  // namespace qv
