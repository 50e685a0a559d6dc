// The folder the log is kept in. The entry point names it once, before the
// first entry: the home path (the executable's folder), or for an installed
// copy the user's state folder in its place. The settings file's folder is
// derived from the same two facts above this layer (report/home_path.h).
#pragma once

#include <optional>
#include <string>

#include "platform/path.h"

namespace qv {

// The directory of the program's executable, without a trailing separator;
// empty until the entry point sets it (entries then go to the current folder).
extern std::string HomePath;

// Set by the entry point for an installed copy: the user's folders that then
// take the place of the home path.
extern std::optional<InstalledFolders> InstalledCopy;

// The folder of the log and its backup: the home path, or for an installed
// copy the user's state folder, made when first asked for. Null when this run
// keeps no log: the installed copy's user has no such folder or it could not
// be made. Uses no heap, for the report of a fault.
const std::string* LogFolder();

}  // namespace qv
