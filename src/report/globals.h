// The program-wide data of the report, written once by the entry point.
#pragma once

#include <optional>
#include <string>

#include "platform/path.h"
#include "platform/types.h"

namespace qv {

// The directory of the program's executable, without a trailing separator;
// empty until the entry point sets it.
extern std::string HomePath;

// Set by the entry point for an installed copy: the user's folders that then
// take the place of the home path (see report/home_path.h).
extern std::optional<InstalledFolders> InstalledCopy;

// The loaded language library, read by the date formatter and the sound player.
extern HANDLE LibraryHandle;

}  // namespace qv
